#pragma once
// An operator for tests: records every message and question, answers the
// questions with a scripted answer.
#include <string>
#include <vector>

#include "framework/operator.h"

struct ShownMessage {
    unsigned id;
    MessageKind kind;
    MessageCaption caption;
    bool operator==(const ShownMessage& other) const {
        return id == other.id && kind == other.kind && caption == other.caption;
    }
};

class RecordingOperator : public Operator {
public:
    explicit RecordingOperator(bool answer = true) : answer(answer) {}

    void ShowMessage(unsigned id, MessageKind kind, MessageCaption caption) override {
        messages.push_back({id, kind, caption});
    }
    void ShowMessageAbout(unsigned id, const std::string& subject) override {
        messages.push_back({id, MessageKind::Warning, MessageCaption::Result});
        subjects.push_back(subject);
    }
    void ShowMessageWithDetail(unsigned id, MessageKind kind, MessageCaption caption,
                               unsigned detailId, const std::vector<std::string>& values) override {
        messages.push_back({id, kind, caption});
        details.push_back(detailId);
        subjects.push_back(values.empty() ? std::string() : values.front());
    }
    bool AskYesNo(unsigned id) override {
        questions.push_back(id);
        return answer;
    }

    // The IDs of the messages shown, in order.
    std::vector<unsigned> MessageIds() const {
        std::vector<unsigned> ids;
        for (const ShownMessage& m : messages)
            ids.push_back(m.id);
        return ids;
    }

    bool answer;
    std::vector<ShownMessage> messages;
    std::vector<unsigned> questions;
    std::vector<std::string> subjects; // of the messages that name one
    std::vector<unsigned> details;     // the second lines' IDs, of the messages with one
};
