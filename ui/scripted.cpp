#include "scripted.h"

namespace ui {

std::optional<std::string> ScriptedDesktop::ChooseFile(const FileDialog& dialog) {
    dialogs.push_back({dialog.save, dialog.initialDir, dialog.fileName, dialog.defaultExt});
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedDesktop::MessageBox(const std::string& title, const std::string& text) {
    titles.push_back(title);
    messages.push_back(text);
}

void ScriptedDesktop::ErrorBox(const std::string& title, const std::string& text) {
    titles.push_back(title);
    errors.push_back(text);
}

}  // namespace ui
