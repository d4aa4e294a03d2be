#pragma once
// The desktop for tests: dialog answers are queued, boxes are recorded.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "form.h"

namespace ui {

struct ShownDialog {
    bool save;
    std::string initialDir;
    std::string fileName;
    std::string defaultExt;
};

class ScriptedDesktop : public Desktop {
public:
    // The next dialog's answer: a path, or nullopt for cancel. An empty queue cancels.
    void QueueFile(std::optional<std::string> answer) { answers.push_back(std::move(answer)); }
    void QueueCancel() { answers.push_back(std::nullopt); }

    std::optional<std::string> ChooseFile(const FileDialog& dialog) override;
    void MessageBox(const std::string& title, const std::string& text) override;
    void ErrorBox(const std::string& title, const std::string& text) override;

    std::deque<std::optional<std::string>> answers;
    std::vector<ShownDialog> dialogs;   // every dialog shown, in order
    std::vector<std::string> messages;  // texts of message boxes (Shift-JIS)
    std::vector<std::string> errors;    // texts of general error boxes (Shift-JIS)
    std::vector<std::string> titles;    // titles of both kinds of box, in order
};

}  // namespace ui
