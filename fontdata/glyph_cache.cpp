#include "fontdata/glyph_cache.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Glyphs are kept in blocks of about this size rather than one by one: a
// block this large gets pages of its own from the system, which take them
// back when it is freed, where thousands of small blocks would leave the
// heap grown after the window has gone.
constexpr uint64_t kChunkBytes = 4u * 1024 * 1024;

} // namespace

GlyphCache::GlyphCache(size_t count, uint32_t bytesPerGlyph, uint64_t bound)
    : m_bytesPerGlyph(std::max<uint32_t>(bytesPerGlyph, 1)),
      m_slots(count == 0 ? 0
                         : uint32_t(std::clamp<uint64_t>(bound / m_bytesPerGlyph, 1,
                                                         std::min<uint64_t>(count, kNone - 1)))),
      m_slotsPerChunk(uint32_t(
          std::clamp<uint64_t>(kChunkBytes / m_bytesPerGlyph, 1, std::max<uint32_t>(m_slots, 1)))),
      m_slotOf(count, kNone) {}

uint8_t* GlyphCache::SlotData(uint32_t slot) const {
    return m_chunks[slot / m_slotsPerChunk].get() +
           size_t(slot % m_slotsPerChunk) * m_bytesPerGlyph;
}

void GlyphCache::Unlink(uint32_t slot) {
    const uint32_t newer = m_newer[slot], older = m_older[slot];
    (newer == kNone ? m_newest : m_older[newer]) = older;
    (older == kNone ? m_oldest : m_newer[older]) = newer;
}

void GlyphCache::PushFront(uint32_t slot) {
    m_newer[slot] = kNone;
    m_older[slot] = m_newest;
    (m_newest == kNone ? m_oldest : m_newer[m_newest]) = slot;
    m_newest = slot;
}

const uint8_t* GlyphCache::Find(size_t i) {
    if (i >= m_slotOf.size() || m_slotOf[i] == kNone)
        return nullptr;
    const uint32_t slot = m_slotOf[i];
    if (slot != m_newest) {
        Unlink(slot);
        PushFront(slot);
    }
    return SlotData(slot);
}

uint8_t* GlyphCache::Make(size_t i) {
    if (i >= m_slotOf.size())
        return nullptr;
    uint32_t slot = m_slotOf[i];
    if (slot != kNone) {
        Unlink(slot);
    } else {
        bool fresh = m_used < m_slots;
        if (fresh && m_used % m_slotsPerChunk == 0) {
            // The next block; when the system has no memory for it, the
            // glyphs already kept make do.
            const uint64_t slots = std::min(m_slotsPerChunk, m_slots - m_used);
            std::unique_ptr<uint8_t[]> chunk(new (std::nothrow)
                                                 uint8_t[size_t(slots * m_bytesPerGlyph)]);
            fresh = chunk != nullptr;
            if (chunk)
                m_chunks.push_back(std::move(chunk));
            else if (m_used == 0)
                return nullptr;
        }
        if (fresh) {
            slot = m_used++;
            m_glyphIn.push_back(kNone);
            m_newer.push_back(kNone);
            m_older.push_back(kNone);
        } else {
            slot = m_oldest;
            Unlink(slot);
            m_slotOf[m_glyphIn[slot]] = kNone;
        }
        m_glyphIn[slot] = uint32_t(i);
        m_slotOf[i] = slot;
    }
    PushFront(slot);
    uint8_t* data = SlotData(slot);
    std::memset(data, 0, m_bytesPerGlyph);
    return data;
}

uint64_t GlyphCache::BytesHeld() const {
    uint64_t bytes = 0;
    for (size_t k = 0; k < m_chunks.size(); ++k)
        bytes += std::min<uint64_t>(m_slotsPerChunk, m_slots - k * uint64_t(m_slotsPerChunk)) *
                 m_bytesPerGlyph;
    return bytes;
}

void GlyphCache::Release() {
    std::vector<std::unique_ptr<uint8_t[]>>().swap(m_chunks);
    std::fill(m_slotOf.begin(), m_slotOf.end(), kNone);
    std::vector<uint32_t>().swap(m_glyphIn);
    std::vector<uint32_t>().swap(m_newer);
    std::vector<uint32_t>().swap(m_older);
    m_used = 0;
    m_newest = m_oldest = kNone;
}
