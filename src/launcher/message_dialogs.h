#pragma once
// How the core talks to the user: the four common message dialogs, as an
// interface. The GUI implements it with real dialogs owned by a window; tests
// use RecordingDialogs, which records every call and answers from a queue.
#include <deque>
#include <string>
#include <vector>

namespace zv {

class MessageDialogs {
public:
    virtual ~MessageDialogs() = default;
    // Error report: what was being done, what failed, detail or advice.
    virtual void ShowErrorDialog(const std::string& what, const std::string& failure,
                                 const std::string& detail) = 0;
    virtual void ShowMsgBox(const std::string& title, const std::string& text) = 0;
    // True only when the user answered yes.
    virtual bool AskYesNo(const std::string& title, const std::string& question) = 0;
    // `value` is replaced by the typed text only when that text is not empty.
    virtual void AskInputLine(const std::string& title, const std::string& label, std::string& value) = 0;
};

// Records every dialog and answers questions from queues (no answer queued:
// "no" and an unchanged value).
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
