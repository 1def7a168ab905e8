#pragma once
// Message dialogs for tests: records every dialog and answers questions from
// queues (no answer queued: "no" and an unchanged value).
#include <deque>
#include <string>
#include <vector>

#include "config/message_dialogs.h"

namespace zv {

class RecordingDialogs : public MessageDialogs {
public:
    struct Call {
        std::string kind;  // "error", "message", "yesno", "input"
        std::vector<std::string> texts;
    };

    void ShowErrorDialog(const std::string& what, const std::string& failure,
                         const std::string& detail) override {
        calls.push_back({"error", {what, failure, detail}});
    }
    void ShowMsgBox(const std::string& title, const std::string& text) override {
        calls.push_back({"message", {title, text}});
    }
    bool AskYesNo(const std::string& title, const std::string& question) override {
        calls.push_back({"yesno", {title, question}});
        if (yesNoAnswers.empty()) return false;
        bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    void AskInputLine(const std::string& title, const std::string& label, std::string& value) override {
        calls.push_back({"input", {title, label, value}});
        if (inputAnswers.empty()) return;
        if (!inputAnswers.front().empty()) value = inputAnswers.front();
        inputAnswers.pop_front();
    }

    // The calls of one kind, in order.
    std::vector<Call> Of(const std::string& kind) const {
        std::vector<Call> found;
        for (const auto& call : calls)
            if (call.kind == kind) found.push_back(call);
        return found;
    }

    std::vector<Call> calls;
    std::deque<bool> yesNoAnswers;
    std::deque<std::string> inputAnswers;
};

}  // namespace zv
