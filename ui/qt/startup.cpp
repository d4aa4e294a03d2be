#include "startup.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace ui::qt {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;  // copies: the plugin that logged them may be unloaded
    int line;
    QString text;
};

QtMessageHandler previous = nullptr;
std::string program;
bool displayFailed = false;     // the X11 plugin could not connect to a display
std::vector<HeldMessage> held;  // its messages, for the previous handler if the start goes on

bool Is(const QMessageLogContext& context, const char* category) {
    return context.category && std::strcmp(context.category, category) == 0;
}

const char* OrNull(const QByteArray& text) { return text.isNull() ? nullptr : text.constData(); }

void Release() {
    for (const HeldMessage& m : held) {
        QMessageLogContext context(OrNull(m.file), m.line, OrNull(m.function), OrNull(m.category));
        previous(m.type, context, m.text);
    }
    held.clear();
}

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    bool noDisplay = Is(context, "qt.qpa.xcb") && text.startsWith(QLatin1String("could not connect to display"));
    bool pluginFailed = displayFailed && Is(context, "qt.qpa.plugin") &&
                        text.startsWith(QLatin1String("Could not load the Qt platform plugin"));
    if (noDisplay || pluginFailed) {
        displayFailed = true;
        held.push_back({type, context.file, context.function, context.category, context.line, text});
        return;
    }
    if (type == QtFatalMsg && displayFailed && text.contains(QLatin1String("no Qt platform plugin could be initialized"))) {
        const char* display = std::getenv("DISPLAY");
        std::string tried = display && *display ? "DISPLAY=" + std::string(display) : "DISPLAY is not set";
        std::fprintf(stderr, "%s: could not open a display (%s)\n", program.c_str(), tried.c_str());
        std::fflush(stderr);
        _exit(1);  // as Qt's abort would, without running global destructors over a half-built Qt
    }
    Release();  // the start has gone on: the held messages first, in their order
    previous(type, context, text);
}

}  // namespace

DisplayCheck::DisplayCheck(const char* argv0) {
    const char* name = argv0 ? argv0 : "";
    const char* slash = std::strrchr(name, '/');
    program = slash ? slash + 1 : name;
    displayFailed = false;
    held.clear();
    previous = qInstallMessageHandler(Handle);
}

DisplayCheck::~DisplayCheck() { Done(); }

void DisplayCheck::Done() {
    if (done_) return;
    done_ = true;
    qInstallMessageHandler(previous);
    Release();
}

}  // namespace ui::qt
