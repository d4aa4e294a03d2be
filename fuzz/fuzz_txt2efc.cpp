// pQuisdale's plain-list reader on any file; what it writes must pass pMirsadel's strict reader.
#include <unistd.h>

#include "ripple/efcreader.h"
#include "ripple/form1.h"
#include "scratch.h"
#include "textutil/errors.h"
#include "txt2efc/form1.h"
#include "ui/scripted.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KeepCurrentDir keep;
    const std::string path = WriteScratch("list.txt", data, size);
    const std::string output = ScratchDir() + "/list.efc";
    unlink(output.c_str());

    ui::ScriptedDesktop desk;
    quisdale::TForm1 form(desk);
    form.Create();
    desk.QueueFile(path);
    form.Click(form.Button1);

    const bool converted = desk.messages.empty() && desk.errors.empty() && form.StatusBar1.simpleText.empty();
    FUZZ_CHECK(converted == (access(output.c_str(), F_OK) == 0));
    if (!converted) return 0;

    ui::ScriptedDesktop readerDesk;
    mirsadel::TForm1 reader(readerDesk);
    mirsadel::CoefFile file;
    mirsadel::ReadCoefFile(output, file, reader.Edit1, reader.Memo1);
    FUZZ_CHECK(!file.badFile || file.coefNum > mirsadel::kCoefCapacity);
    FUZZ_CHECK(reader.Edit1.text == "- none -");
    return 0;
}
