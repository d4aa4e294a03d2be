#pragma once
// The real desktop: Qt widgets built from a Form's model. The only header that leads to Qt.
#include <functional>
#include <memory>

#include "../form.h"

namespace ui::qt {

using FormFactory = std::function<std::unique_ptr<Form>(Desktop&)>;

// Creates the application, sets LC_NUMERIC back to "C" and reads the decimal separator,
// creates the form (running FormCreate), shows it and runs the loop until it is closed.
int RunApplication(int argc, char** argv, const FormFactory& makeForm);

}  // namespace ui::qt
