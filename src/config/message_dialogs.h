#pragma once
// How the core talks to the user: the four common message dialogs, as an
// interface. It sits with the configuration store, the lowest layer that
// reports to the user, so that every layer above can report without knowing
// the launcher. The GUI implements it with real dialogs owned by a window;
// tests use a recorder (tests/support/recording_dialogs.h).
#include <string>

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

}  // namespace zv
