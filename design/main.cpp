#include <memory>

#include "design/form1.h"
#include "ui/qt/qtdesktop.h"

int main(int argc, char** argv) {
    return ui::qt::RunApplication(argc, argv, [](ui::Desktop& d) { return std::make_unique<corvalen::TForm1>(d); });
}
