#pragma once
// The rendered glyphs kept for a window that shows them, within a bound of
// memory: when it is full, the glyph used longest ago makes room, and is
// rendered again when it is asked for once more. Release gives everything
// back at once.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class GlyphCache {
public:
    static constexpr uint64_t kDefaultBound = 64ull * 1024 * 1024;

    // count glyphs of bytesPerGlyph bytes; at least one is kept whatever the
    // bound.
    GlyphCache(size_t count, uint32_t bytesPerGlyph, uint64_t bound = kDefaultBound);

    // Glyph i when it is kept (now the one used last), else null.
    const uint8_t* Find(size_t i);
    // Room for glyph i, zeroed, now the one used last; the pointers given
    // before may no longer hold their glyphs. Null when i is past the last
    // or there is no memory.
    uint8_t* Make(size_t i);

    size_t Kept() const { return m_used; }
    // The memory that holds the kept glyphs.
    uint64_t BytesHeld() const;
    void Release();

private:
    static constexpr uint32_t kNone = 0xFFFFFFFF;

    uint8_t* SlotData(uint32_t slot) const;
    void Unlink(uint32_t slot);
    void PushFront(uint32_t slot);

    uint32_t m_bytesPerGlyph;
    uint32_t m_slots;         // glyphs the bound allows
    uint32_t m_slotsPerChunk; // the memory comes in chunks of a few megabytes
    uint32_t m_used = 0;
    std::vector<std::unique_ptr<uint8_t[]>> m_chunks;
    std::vector<uint32_t> m_slotOf;  // per glyph
    std::vector<uint32_t> m_glyphIn; // per slot
    std::vector<uint32_t> m_newer;   // per slot, towards the one used last
    std::vector<uint32_t> m_older;
    uint32_t m_newest = kNone;
    uint32_t m_oldest = kNone;
};
