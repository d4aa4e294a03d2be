#include "qtdesktop.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <exception>
#include <map>

#include "../../textutil/numtext.h"
#include "../../textutil/sjis.h"
#include "qtwindow.h"
#include "shaping.h"
#include "startup.h"

namespace ui::qt {

namespace {

constexpr int kFrameWidth = 8;    // classic sizing frame, left and right together
constexpr int kFrameHeight = 27;  // classic caption bar and frame, top and bottom together

QString ToQt(const std::string& sjis) { return QString::fromStdString(SjisToUtf8(sjis)); }
std::string FromQt(const QString& text) { return Sjis(text.toStdString()); }

QColor ToQColor(Color c) { return QColor(int((c >> 16) & 0xFF), int((c >> 8) & 0xFF), int(c & 0xFF)); }

void SetColor(QWidget* w, QPalette::ColorRole role, Color c) {
    QPalette p = w->palette();
    p.setColor(role, ToQColor(c));
    w->setPalette(p);
}

// The 12-pixel proportional Gothic face is not on Linux; IPAPGothic stands in for it.
QFont FormFont(const Form& form) {
    QString family = form.fontName == Sjis("ＭＳ Ｐゴシック") ? QStringLiteral("IPAPGothic") : ToQt(form.fontName);
    QFont font(family);
    font.setPixelSize(form.fontHeight > 0 ? form.fontHeight : 12);
    return font;
}

// True when the Shift-JIS text holds no double-byte (full-width) character.
bool IsHalfWidthText(const std::string& sjis) {
    for (unsigned char b : sjis)
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) return false;
    return true;
}

// Half-width characters of the stand-in face are a third wider than the layouts allow for, so a
// text made only of them is condensed as on the canvas; one with full-width characters is not.
void FitFont(QWidget* w, const std::string& sjis) {
    constexpr int kCondensed = 75;  // the canvas's 0.75 horizontal scale
    int stretch = IsHalfWidthText(sjis) ? kCondensed : 100;
    QFont font = w->font();
    if (font.stretch() == stretch) return;
    font.setStretch(stretch);
    w->setFont(font);
}

// Rows at the face's pixel height, as the layouts' panes were made for (the stand-in face asks
// for one more); lines typed later take the format of the line they break from.
void SetLinePitch(QTextDocument& document, int pitch) {
    QTextBlockFormat format;
    format.setLineHeight(pitch, QTextBlockFormat::FixedHeight);
    document.setUndoRedoEnabled(false);
    QTextCursor all(&document);
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(format);
    document.setUndoRedoEnabled(true);
}

// Paints the model's picture unscaled from the top-left; where there is none, the parent shows.
class ImageView : public QWidget {
public:
    ImageView(Image& image, QWidget* parent) : QWidget(parent), image_(image) {}

    // Takes a copy of the model's picture (Qt wants the unused top byte set) and repaints.
    void Refresh() {
        if (!image_.picture) {
            shown_ = QImage();
        } else {
            const Bitmap& b = *image_.picture;
            if (shown_.size() != QSize(b.width(), b.height())) shown_ = QImage(b.width(), b.height(), QImage::Format_RGB32);
            const Color* from = b.pixels().data();
            for (int y = 0; y < b.height(); ++y, from += b.width()) {
                auto* to = reinterpret_cast<QRgb*>(shown_.scanLine(y));
                for (int x = 0; x < b.width(); ++x) to[x] = 0xFF000000u | from[x];
            }
        }
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QRect area = event->rect() & shown_.rect();
        if (area.isEmpty()) return;
        QPainter painter(this);
        painter.drawImage(area.topLeft(), shown_, area);
    }

private:
    Image& image_;
    QImage shown_;
};

// Group frames of the classic look: the top line runs through the middle of the caption, so
// that the radio buttons placed below the caption stay inside the frame.
class ClassicGroupStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameGroupBox) return QProxyStyle::drawPrimitive(element, option, painter, widget);
        QRect r = option->rect.adjusted(0, option->fontMetrics.height() / 2, -2, -2);
        painter->save();
        painter->setPen(option->palette.color(QPalette::Mid));
        painter->drawRect(r);
        painter->setPen(option->palette.color(QPalette::Light));
        painter->drawRect(r.translated(1, 1));
        painter->restore();
    }
    // The caption starts 8 pixels in from the frame's left edge.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        QRect r = QProxyStyle::subControlRect(control, option, part, widget);
        if (control == CC_GroupBox && part == SC_GroupBoxLabel) r.moveLeft(8);
        return r;
    }
};

// Radio buttons placed in one column the way the classic radio group spreads them.
void PlaceRadioButtons(const RadioGroup& g, const QList<QAbstractButton*>& buttons) {
    int count = int(buttons.size());
    if (count == 0) return;
    constexpr int kTextHeight = 12;
    int free = std::max(g.height - kTextHeight - 5, 0);
    int itemHeight = free / count;
    int topMargin = kTextHeight + 1 + (free % count) / 2;
    for (int i = 0; i < count; ++i) buttons[i]->setGeometry(8, topMargin + i * itemHeight, std::max(g.width - 10, 0), itemHeight);
}

}  // namespace

// The window of one form and the widgets of its controls.
class FormWindow : public QWidget {
public:
    FormWindow(Form& form, QtDesktop& desktop);
    ~FormWindow() override;
    void Pull();
    void Push();

private:
    struct Bound {
        Control* control = nullptr;
        QWidget* widget = nullptr;
        QWidget* content = nullptr;           // scroll box: the widget that holds its children
        QButtonGroup* radios = nullptr;       // radio group: its buttons, ids = item indices
        std::vector<std::string> items;       // radio group: the items its buttons show
        std::vector<std::string> shownLines;  // memo: the lines last put into the widget
        std::vector<std::string> shownUtf8;   // memo: the same lines as the widget gives them back
        std::vector<QString> rests;           // memo: the hidden rests of its long lines
    };

    QWidget* Make(Control& c, QWidget* parent);
    QWidget* Holder(const Control* parent);
    void SetRadioItems(Bound& b);
    void SetTabOrder();
    void PullControl(Bound& b);
    void PushControl(Bound& b);
    void PushPlace(Bound& b);
    void RunHandler(const std::function<void()>& handler);
    void RadioSelected(RadioGroup& g, int index);

    Form& form_;
    QtDesktop& desktop_;
    std::vector<Bound> bound_;
    bool pushing_ = false;  // radio changes made by Push are not the user's
};

FormWindow::FormWindow(Form& form, QtDesktop& desktop) : form_(form), desktop_(desktop) {
    setFont(FormFont(form));
    setAutoFillBackground(true);
    bound_.reserve(form.controls().size());
    for (Control* c : form.controls()) {
        QWidget* parent = Holder(c->parent);
        bound_.emplace_back();
        bound_.back().control = c;
        bound_.back().widget = Make(*c, parent);
        bound_.back().widget->setObjectName(QString::fromStdString(c->name));
        if (c->bold) {
            QFont bold = bound_.back().widget->font();
            bold.setBold(true);
            bound_.back().widget->setFont(bold);
        }
        if (c->kind == Kind::ScrollBox) bound_.back().content = static_cast<QScrollArea*>(bound_.back().widget)->widget();
    }
    SetTabOrder();
    // Made after the widgets, so that it is destroyed after them.
    auto* groupStyle = new ClassicGroupStyle;
    groupStyle->setParent(this);
    for (Bound& b : bound_)
        if (b.control->kind == Kind::RadioGroup || b.control->kind == Kind::GroupBox) b.widget->setStyle(groupStyle);
    move(form.left, form.top);
    resize(std::max(form.width - kFrameWidth, 0), std::max(form.height - kFrameHeight, 0));
    Push();
    desktop_.Attach(this);
}

FormWindow::~FormWindow() {
    if (desktop_.window() == this) desktop_.Attach(nullptr);
}

QWidget* FormWindow::Holder(const Control* parent) {
    for (Bound& b : bound_)
        if (b.control == parent) return b.content ? b.content : b.widget;
    return this;
}

QWidget* FormWindow::Make(Control& c, QWidget* parent) {
    switch (c.kind) {
    case Kind::Button: {
        auto* w = new QPushButton(parent);
        auto& button = static_cast<Button&>(c);
        connect(w, &QPushButton::clicked, this, [this, &button] { RunHandler([this, &button] { form_.Click(button); }); });
        return w;
    }
    case Kind::Label: {
        auto* w = new QLabel(parent);
        w->setTextFormat(Qt::PlainText);
        w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return w;
    }
    case Kind::Edit:
        return new QLineEdit(parent);
    case Kind::CheckBox:
        return new QCheckBox(parent);
    case Kind::RadioGroup:
        return new QGroupBox(parent);
    case Kind::GroupBox:
        return new QGroupBox(parent);
    case Kind::Memo: {
        // A classic pane: one row per line (no wrapping), Tab moves on to the next control.
        auto* w = new QTextEdit(parent);
        w->setAcceptRichText(false);
        w->setLineWrapMode(QTextEdit::NoWrap);
        w->setTabChangesFocus(true);
        w->document()->setDocumentMargin(2);
        w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        return w;
    }
    case Kind::StatusBar: {
        auto* w = new QLabel(parent);
        w->setTextFormat(Qt::PlainText);
        w->setAutoFillBackground(true);
        w->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        w->setIndent(2);
        return w;
    }
    case Kind::ScrollBox: {
        auto* w = new QScrollArea(parent);
        w->setWidgetResizable(false);
        w->setWidget(new QWidget);
        w->viewport()->setBackgroundRole(QPalette::Window);
        return w;
    }
    case Kind::Image:
        return new ImageView(static_cast<Image&>(c), parent);
    }
    return new QWidget(parent);
}

void FormWindow::SetRadioItems(Bound& b) {
    auto& g = static_cast<RadioGroup&>(*b.control);
    if (b.radios && b.items == g.items) return;
    if (b.radios) {
        for (QAbstractButton* button : b.radios->buttons()) delete button;
        delete b.radios;
    }
    b.radios = new QButtonGroup(b.widget);
    for (size_t i = 0; i < g.items.size(); ++i) {
        auto* button = new QRadioButton(ToQt(g.items[i]), b.widget);
        b.radios->addButton(button, int(i));
        button->show();
    }
    b.items = g.items;
    PlaceRadioButtons(g, b.radios->buttons());
    connect(b.radios, &QButtonGroup::idToggled, this, [this, &g](int id, bool checked) {
        if (checked && !pushing_) RadioSelected(g, id);
    });
}

// Tab stops in the form's order; a container's children follow it in their own order.
void FormWindow::SetTabOrder() {
    std::vector<QWidget*> chain;
    std::function<void(const Control*)> visit = [&](const Control* parent) {
        std::vector<Bound*> children;
        for (Bound& b : bound_)
            if (b.control->parent == parent && b.control->tabOrder >= 0) children.push_back(&b);
        std::stable_sort(children.begin(), children.end(),
                         [](const Bound* a, const Bound* b) { return a->control->tabOrder < b->control->tabOrder; });
        for (Bound* b : children) {
            QWidget* stop = b->widget;
            if (b->radios && !b->radios->buttons().isEmpty()) stop = b->radios->buttons().first();
            if (stop->focusPolicy() != Qt::NoFocus) chain.push_back(stop);
            visit(b->control);
        }
    };
    for (Bound& b : bound_)
        if (b.control->kind == Kind::RadioGroup) SetRadioItems(b);
    visit(nullptr);
    for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void FormWindow::RunHandler(const std::function<void()>& handler) {
    Pull();
    try {
        handler();
    } catch (const std::exception& e) {
        // The dispatcher shows the suite's errors; anything else must not unwind through Qt.
        desktop_.ErrorBox(form_.MessageTitle(), e.what());
    }
    Push();
}

void FormWindow::RadioSelected(RadioGroup& g, int index) {
    // Select compares with the previous choice, which the pull would overwrite.
    int previous = g.itemIndex;
    Pull();
    g.itemIndex = previous;
    try {
        form_.Select(g, index);
    } catch (const std::exception& e) {
        desktop_.ErrorBox(form_.MessageTitle(), e.what());
    }
    Push();
}

void FormWindow::Pull() {
    for (Bound& b : bound_) PullControl(b);
}

void FormWindow::PullControl(Bound& b) {
    switch (b.control->kind) {
    case Kind::Edit: {
        auto* w = static_cast<QLineEdit*>(b.widget);
        if (!w->isModified()) return;  // untouched texts keep their exact bytes
        static_cast<Edit&>(*b.control).text = FromQt(w->text());
        w->setModified(false);
        return;
    }
    case Kind::Memo: {
        auto* w = static_cast<QTextEdit*>(b.widget);
        if (!w->document()->isModified()) return;
        std::vector<std::string> edited = PaneLines(*w->document(), b.rests);
        b.shownLines = KeepUnchangedLines(b.shownLines, b.shownUtf8, edited);
        b.shownUtf8 = std::move(edited);
        static_cast<Memo&>(*b.control).lines.SetAll(b.shownLines);
        w->document()->setModified(false);
        return;
    }
    case Kind::CheckBox:
        static_cast<CheckBox&>(*b.control).checked = static_cast<QCheckBox*>(b.widget)->isChecked();
        return;
    case Kind::RadioGroup:
        if (b.radios) static_cast<RadioGroup&>(*b.control).itemIndex = b.radios->checkedId();
        return;
    default:
        return;
    }
}

void FormWindow::Push() {
    pushing_ = true;
    setWindowTitle(ToQt(form_.caption));
    SetColor(this, QPalette::Window, form_.color);
    for (Bound& b : bound_) {
        PushControl(b);
        PushPlace(b);
    }
    pushing_ = false;
}

void FormWindow::PushPlace(Bound& b) {
    const Control& c = *b.control;
    if (b.widget->geometry() != QRect(c.left, c.top, c.width, c.height))
        b.widget->setGeometry(c.left, c.top, c.width, c.height);
    b.widget->setEnabled(c.enabled);
    if (!b.content) return;
    // The scrolled area reaches to the right and bottom edges of its farthest child.
    int right = 0, bottom = 0;
    for (const Bound& child : bound_)
        if (child.control->parent == b.control) {
            right = std::max(right, child.control->left + child.control->width);
            bottom = std::max(bottom, child.control->top + child.control->height);
        }
    if (b.content->size() != QSize(right, bottom)) b.content->resize(right, bottom);
}

void FormWindow::PushControl(Bound& b) {
    switch (b.control->kind) {
    case Kind::Button: {
        const std::string& caption = static_cast<Button&>(*b.control).caption;
        FitFont(b.widget, caption);
        static_cast<QPushButton*>(b.widget)->setText(ToQt(caption));
        return;
    }
    case Kind::Label: {
        const std::string& caption = static_cast<Label&>(*b.control).caption;
        FitFont(b.widget, caption);
        static_cast<QLabel*>(b.widget)->setText(ToQt(caption));
        return;
    }
    case Kind::Edit: {
        auto& e = static_cast<Edit&>(*b.control);
        auto* w = static_cast<QLineEdit*>(b.widget);
        QString text = ToQt(e.text);
        FitFont(w, e.text);
        if (w->text() != text) w->setText(text);
        SetColor(w, QPalette::Base, e.color);
        return;
    }
    case Kind::CheckBox: {
        auto& cb = static_cast<CheckBox&>(*b.control);
        auto* w = static_cast<QCheckBox*>(b.widget);
        FitFont(w, cb.caption);
        w->setText(ToQt(cb.caption));
        w->setChecked(cb.checked);
        return;
    }
    case Kind::RadioGroup: {
        auto& g = static_cast<RadioGroup&>(*b.control);
        FitFont(b.widget, g.caption);
        static_cast<QGroupBox*>(b.widget)->setTitle(ToQt(g.caption));
        SetRadioItems(b);
        for (QAbstractButton* button : b.radios->buttons()) FitFont(button, g.items[size_t(b.radios->id(button))]);
        PlaceRadioButtons(g, b.radios->buttons());
        QAbstractButton* chosen = b.radios->button(g.itemIndex);
        if (chosen) {
            chosen->setChecked(true);
        } else if (b.radios->checkedButton()) {
            b.radios->setExclusive(false);
            b.radios->checkedButton()->setChecked(false);
            b.radios->setExclusive(true);
        }
        return;
    }
    case Kind::GroupBox: {
        const std::string& caption = static_cast<GroupBox&>(*b.control).caption;
        FitFont(b.widget, caption);
        static_cast<QGroupBox*>(b.widget)->setTitle(ToQt(caption));
        return;
    }
    case Kind::Memo: {
        auto& m = static_cast<Memo&>(*b.control);
        auto* w = static_cast<QTextEdit*>(b.widget);
        w->setReadOnly(m.readOnly);
        w->setVerticalScrollBarPolicy(m.verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        // Resetting an unchanged pane would lose the cursor and the scroll position.
        if (b.shownLines == m.lines.All()) return;
        b.shownLines = m.lines.All();
        const std::string text = JoinLines(b.shownLines);
        FitFont(w, text);
        const ShownPane shown = ShapePane(ToQt(text));
        w->setCurrentCharFormat(QTextCharFormat());  // the new text would take the format at the cursor: a mark's tag
        w->setPlainText(shown.text);
        TagMarks(*w->document(), shown);
        b.rests = shown.rests;
        b.shownUtf8 = PaneLines(*w->document(), b.rests);
        SetLinePitch(*w->document(), form_.fontHeight > 0 ? form_.fontHeight : 12);
        w->document()->setModified(false);
        return;
    }
    case Kind::StatusBar: {
        auto& s = static_cast<StatusBar&>(*b.control);
        FitFont(b.widget, s.simpleText);
        static_cast<QLabel*>(b.widget)->setText(ToQt(s.simpleText));
        SetColor(b.widget, QPalette::Window, s.color);
        return;
    }
    case Kind::Image:
        static_cast<ImageView*>(b.widget)->Refresh();
        return;
    case Kind::ScrollBox:
        SetColor(b.widget, QPalette::Window, form_.color);
        return;
    }
}

QWidget* QtDesktop::Parent() const { return window_; }

namespace {

// Types and icons from names only. Guessing a type from a file's first bytes would hold the dialog
// up for good on a file that never answers a read (/proc/kmsg, say).
class NameOnlyIconProvider : public QFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override {
        if (info.isRoot()) return icon(Drive);
        if (info.isDir()) return icon(Folder);
        QIcon themed = QIcon::fromTheme(TypeOf(info).iconName());
        return themed.isNull() ? icon(File) : themed;
    }
    QString type(const QFileInfo& info) const override {
        if (!info.isFile() || info.isRoot()) return QFileIconProvider::type(info);  // reads no contents
        QMimeType mime = TypeOf(info);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeType TypeOf(const QFileInfo& info) const {
        return mimes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    }
    QMimeDatabase mimes_;
};

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const std::string& title, const std::string& text) {
    QMessageBox box(icon, ToQt(title), QString(), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    const QLabel* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    box.setText(BoxText(ToQt(text), label ? label->font() : box.font(), area));
    box.exec();
}


}  // namespace

std::optional<std::string> QtDesktop::ChooseFile(const FileDialog& dialog) {
    if (window_) window_->Push();
    std::string dir = dialog.initialDir.empty() ? CurrentDir() : dialog.initialDir;
    std::string name = dialog.fileName;
    // A proposed name with a folder opens in that folder.
    size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) {
        dir = slash == 0 ? "/" : name.substr(0, slash);
        name = name.substr(slash + 1);
    }
    QFileDialog box(Parent());
    box.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    static NameOnlyIconProvider names;  // the dialog's model and completer use it from other threads too
    box.setIconProvider(&names);
    box.setAcceptMode(dialog.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(QFileDialog::AnyFile);
    box.setWindowTitle(QString::fromStdString(dialog.save ? "名前を付けて保存" : "ファイルを開く"));
    box.setDirectory(QFile::decodeName(QByteArray::fromStdString(dir)));
    if (!name.empty()) box.selectFile(QFile::decodeName(QByteArray::fromStdString(name)));
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    QStringList files = box.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return QFile::encodeName(files.first()).toStdString();
}

void QtDesktop::MessageBox(const std::string& title, const std::string& text) {
    if (window_) window_->Push();
    ShowBox(Parent(), QMessageBox::NoIcon, title, text);
}

void QtDesktop::ErrorBox(const std::string& title, const std::string& text) {
    if (window_) window_->Push();
    ShowBox(Parent(), QMessageBox::Critical, title, text);
}

std::unique_ptr<QWidget> BuildWindow(Form& form, QtDesktop& desktop) {
    return std::make_unique<FormWindow>(form, desktop);
}

void FitOuterSize(QWidget& window, const Form& form) {
    int frameWidth = window.frameGeometry().width() - window.width();
    int frameHeight = window.frameGeometry().height() - window.height();
    if (frameWidth <= 0 && frameHeight <= 0) return;
    window.resize(std::max(form.width - frameWidth, 0), std::max(form.height - frameHeight, 0));
}

int RunApplication(int argc, char** argv, const FormFactory& makeForm) {
    DisplayCheck displayCheck(argv[0]);
    QApplication app(argc, argv);
    displayCheck.Done();
    // Qt has set the user's locale; numbers are formatted by our own rules with its separator.
    std::setlocale(LC_NUMERIC, "C");
    InitDecimalSeparator();
    QtDesktop desktop;
    std::unique_ptr<Form> form = makeForm(desktop);
    form->Create();
    std::unique_ptr<QWidget> window = BuildWindow(*form, desktop);
    window->show();
    QApplication::processEvents();
    FitOuterSize(*window, *form);
    // Some window managers add the frame a moment after showing.
    QTimer::singleShot(300, window.get(), [&window, &form] { FitOuterSize(*window, *form); });
    return QApplication::exec();
}

}  // namespace ui::qt
