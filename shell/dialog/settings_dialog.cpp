#include "shell/dialog/settings_dialog.h"

#include <QtGui/qguiapplication_platform.h>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/window_titles.h"
#include "shell/controls/command.h"
#include "shell/core/window_zoom.h"
#include "shell/dialog/dialog_geometry.h"
#include "shell/dialog/dialog_layout.h"
#include "shell/dialog/dialog_painting.h"
#include "shell/dialog/dialog_widgets.h"
#include "shell/dialog/file_chooser.h"
#include "shell/dialog/product_page.h"
#include "shell/dialog/settings_save.h"
#include "shell/platform/picture_file.h"
#include "shell/platform/wayland/wayland_desktop_capture.h"
#include "shell/platform/x11/frame_extents.h"
#include "shell/platform/x11/zoom_animation.h"
#include "shell/settings/settings_file.h"

// Resources of a static library must be registered by name from outside any namespace.
static void registerDialogArt() { Q_INIT_RESOURCE(dialog_art); }

namespace quorlane {
namespace {

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

// Places a label at its design position; "sized to its text" labels then grow or shrink to it.
QLabel* addLabel(QLabel* label, const QString& caption, QRect rect, bool sizedToText,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
    label->setText(caption);
    label->setGeometry(rect);
    label->setAlignment(alignment);
    if (sizedToText) {
        label->adjustSize();
    } else if (label->sizeHint().width() > rect.width()) {
        // The stand-in font runs a little wider than the design's: never cut a caption short.
        label->resize(label->sizeHint().width(), rect.height());
    }
    return label;
}

// Letters of the table's colour; the dialog's own are already black.
template <typename Label>
Label* lettered(Label* label, QColor colour) {
    QPalette palette = label->palette();
    if (palette.color(QPalette::WindowText) != colour) {
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
    }
    return label;
}

Command* command(QWidget* parent, const QString& caption, QRect rect, const QFont& font) {
    auto* button = new Command(parent);
    button->setCaption(caption);
    button->setFont(font);
    button->setGeometry(rect);
    return button;
}

// panels_ holds Pic_D(1), the music panel, first.
std::size_t panelIndex(DialogArea area) { return area == DialogArea::MusicPanel ? 0 : 1; }

// The slot of a choice's mark or caption: its panel's, by its number.
template <std::size_t PictureChoices, std::size_t MusicChoices>
ChoiceLabel*& choiceSlot(std::array<ChoiceLabel*, PictureChoices>& picture,
                         std::array<ChoiceLabel*, MusicChoices>& music,
                         const DialogControl& control) {
    const auto choice = static_cast<std::size_t>(control.choice);
    return control.area == DialogArea::PicturePanel ? picture.at(choice) : music.at(choice);
}

QImage artwork(const char* name) {
    return QImage(QStringLiteral(":/dialog/") + QLatin1String(name))
        .convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

// The user's folder of a kind (xdg-user-dir's answer: ~/.config/user-dirs.dirs), when it is
// there and not home itself, which is what xdg-user-dir gives for an unset one.
std::string userFolder(QStandardPaths::StandardLocation kind) {
    const QString folder = QStandardPaths::writableLocation(kind);
    const QString home = QDir::homePath();
    if (folder.isEmpty() || QDir(folder) == QDir(home) || !QFileInfo(folder).isDir()) return {};
    return folder.toStdString();
}

ChooserFolders userChooserFolders(bool installed) {
    return {installed, userFolder(QStandardPaths::PicturesLocation),
            userFolder(QStandardPaths::MusicLocation), QDir::homePath().toStdString()};
}

QFont SettingsDialog::dialogFont() {
    static const bool substituted = [] {
        // fontconfig knows no such family here and would answer a font without Japanese glyphs.
        QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Normal);
    return font;
}

SettingsDialog::SettingsDialog(SettingsValues& values, Files files)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      choices_(values, files.programFolder, userChooserFolders(files.installed)),
      files_(std::move(files)) {
    registerDialogArt();
    tileStrip_ =
        QImage(QStringLiteral(":/dialog/tile_strip.png")).convertToFormat(QImage::Format_RGB32);
    markOn_ = artwork("mark_on.png");
    markOff_ = artwork("mark_off.png");
    setObjectName(QStringLiteral("Vantorel_P"));
    setWindowTitle(QString::fromLatin1(kSettingsDialogTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorlane-32.png")));
    setFixedSize(kDialogClientWidth, kDialogClientHeight);
    setFont(dialogFont());
    buildControls();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::buildControls() {
    for (const DialogControl& control : dialogControls()) {
        QWidget* made = makeControl(control);
        if (*control.name != '\0') made->setObjectName(QLatin1String(control.name));
    }
    for (int i = 0; i < 2; ++i) {
        connect(pictureMarks_[i], &ChoiceLabel::pressed, this,
                [this, i] { pressPicture(i, false); });
        connect(pictureLabels_[i], &ChoiceLabel::pressed, this,
                [this, i] { pressPicture(i, true); });
    }
    for (int i = 0; i < 3; ++i) {
        connect(musicMarks_[i], &ChoiceLabel::clicked, this, [this, i] { clickMusic(i); });
        connect(musicLabels_[i], &ChoiceLabel::clicked, this, [this, i] { clickMusic(i); });
    }
    connect(link_, &ChoiceLabel::clicked, this, &SettingsDialog::openLink);
    connect(pictureButton_, &Command::click, this, &SettingsDialog::choosePicture);
    connect(musicButton_, &Command::click, this, &SettingsDialog::chooseMusic);
    connect(setButton_, &Command::click, this, &SettingsDialog::save);
    connect(cancelButton_, &Command::click, this, [this] { reject(); });
}

QWidget* SettingsDialog::makeControl(const DialogControl& control) {
    // A panel lies on the window; everything else in its area, counted from inside the border.
    QWidget* area = control.area == DialogArea::Window || control.kind == ControlKind::Panel
                        ? this
                        : panels_[panelIndex(control.area)]->client();
    const QRect rect(control.rect.x, control.rect.y, control.rect.width, control.rect.height);
    const QString caption = text(control.caption);
    const QColor colour(static_cast<QRgb>(control.colour));
    const bool fits = control.fitsText;
    switch (control.kind) {
    case ControlKind::Panel: {
        auto* panel = new RetainedBox(this, colour);
        panel->setGeometry(rect);
        panels_[panelIndex(control.area)] = panel;
        return panel;
    }
    case ControlKind::PreviewBox:
        display_ = new RetainedBox(area, colour);
        display_->setGeometry(rect);
        return display_;
    case ControlKind::TitlePlate: {
        auto* plate = new QLabel(area);
        plate->setPixmap(QPixmap::fromImage(artwork("title_plate.png")));
        plate->setGeometry(rect);
        return plate;
    }
    case ControlKind::Title:
        return lettered(
            addLabel(new QLabel(area), caption, rect, fits, Qt::AlignHCenter | Qt::AlignTop),
            colour);
    case ControlKind::Text:
        return lettered(addLabel(new QLabel(area), caption, rect, fits), colour);
    case ControlKind::ChoiceMark: {
        auto* mark = new ChoiceLabel(area);
        mark->setGeometry(rect);
        return choiceSlot(pictureMarks_, musicMarks_, control) = mark;
    }
    case ControlKind::ChoiceText: {
        auto* label = new ChoiceLabel(area);
        lettered(addLabel(label, caption, rect, fits), colour);
        return choiceSlot(pictureLabels_, musicLabels_, control) = label;
    }
    case ControlKind::Link: return makeLink(area, control);
    case ControlKind::SaveButton: return setButton_ = command(area, caption, rect, dialogFont());
    case ControlKind::CancelButton:
        return cancelButton_ = command(area, caption, rect, dialogFont());
    case ControlKind::ChooserButton:
        return (control.area == DialogArea::PicturePanel ? pictureButton_ : musicButton_) =
                   command(area, caption, rect, dialogFont());
    case ControlKind::PathBox: {
        auto* path = new PathBox(area);
        path->setGeometry(rect);
        return (control.area == DialogArea::PicturePanel ? picturePath_ : musicPath_) = path;
    }
    case ControlKind::RepeatBox:
        repeatBox_ = new QComboBox(area);
        repeatBox_->setEditable(true);
        repeatBox_->setInsertPolicy(QComboBox::NoInsert);
        repeatBox_->setGeometry(rect);
        return repeatBox_;
    }
    return nullptr;
}

ChoiceLabel* SettingsDialog::makeLink(QWidget* area, const DialogControl& control) {
    const QRect rect(control.rect.x, control.rect.y, control.rect.width, control.rect.height);
    link_ = new ChoiceLabel(area);
    addLabel(link_, QString(), rect, false);
    QFont underlined = dialogFont();
    underlined.setUnderline(true);
    link_->setFont(underlined);
    lettered(link_, QColor(static_cast<QRgb>(control.colour)));
    // The address as a browser shows it, cut in the middle where the label's place ends (the
    // buttons begin 10 pixels after it): the file name stays whole.
    const QFontMetrics metrics(underlined);
    link_->setText(
        text(elidedInMiddle(fileAddress(files_.page), rect.width(), [&](const std::string& cut) {
            return metrics.horizontalAdvance(text(cut));
        })));
    link_->setToolTip(text(fileAddress(files_.page)));
    if (control.fitsText) link_->adjustSize();
    link_->setCursor(Qt::PointingHandCursor);
    return link_;
}

bool SettingsDialog::onX11() const {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void SettingsDialog::load() {
    const ZoomRect outer = placeWindow();
    for (Command* button : {setButton_, cancelButton_, pictureButton_, musicButton_}) {
        button->initialize();
    }
    tilePanel(panels_[0]->retained(), tileStrip_, panels_[0]->width(), panels_[0]->height());
    tilePanel(panels_[1]->retained(), tileStrip_, panels_[1]->width(), panels_[1]->height());

    const bool preview = choices_.load();
    if (preview) drawPreview();
    // The list first: filling an empty editable box would put its first entry in the text.
    repeatBox_->clear();
    for (const std::string& entry : repeatTrackEntries()) repeatBox_->addItem(text(entry));
    repeatBox_->setEditText(text(choices_.view().repeatText));
    showChoices();
    // No button has the focus at the start, as on Windows: none answers a key, and a focus
    // face would promise one. The dialog keeps it until Tab or a click moves it on.
    setFocusPolicy(Qt::ClickFocus);
    setFocus(Qt::OtherFocusReason);

    const QPoint pointer = QCursor::pos();
    ZoomAnchor& anchor = zoomAnchor();
    anchor.x = anchorCoordinate(pointer.x(), anchor.x);
    anchor.y = anchorCoordinate(pointer.y(), anchor.y);
    // Still hidden: the zoom heads for where the window manager will show it.
    if (onX11()) zoomWindowOpen(outer);
}

ZoomRect SettingsDialog::placeWindow() {
    FrameExtents frame;
    if (onX11()) {
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        const auto window = static_cast<unsigned long>(winId());  // the X window, still unmapped
        if (x11 != nullptr) {
            frame = requestFrameExtents(x11->display(), window, std::chrono::milliseconds(200));
        }
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect whole = screen != nullptr ? screen->geometry() : QRect(0, 0, 0, 0);
    const int outerWidth = kDialogClientWidth + frame.left + frame.right;
    const int outerHeight = kDialogClientHeight + frame.top + frame.bottom;
    const IntPoint outer = windowPlacement(whole.width(), whole.height(), outerWidth, outerHeight);
    const int left = whole.x() + outer.x;
    const int top = whole.y() + outer.y;
    setGeometry(left + frame.left, top + frame.top, kDialogClientWidth, kDialogClientHeight);
    return {left, top, left + outerWidth, top + outerHeight};
}

void SettingsDialog::showChoices() {
    const DialogView& view = choices_.view();
    auto showMark = [this](ChoiceLabel* label, Mark mark) {
        if (mark == Mark::Empty) {
            label->clear();
        } else {
            label->setPixmap(QPixmap::fromImage(mark == Mark::On ? markOn_ : markOff_));
        }
    };
    for (std::size_t i = 0; i < pictureMarks_.size(); ++i)
        showMark(pictureMarks_[i], view.pictureMarks[i]);
    for (std::size_t i = 0; i < musicMarks_.size(); ++i)
        showMark(musicMarks_[i], view.musicMarks[i]);
    pictureButton_->setButtonEnabled(view.pictureChooserEnabled);
    musicButton_->setButtonEnabled(view.musicChooserEnabled);
    repeatBox_->setEnabled(view.repeatBoxEnabled);
    picturePath_->setText(text(view.picturePathText));
    musicPath_->setText(text(view.musicPathText));
}

void SettingsDialog::pressPicture(int choice, bool onLabel) {
    if (choices_.pressPicture(choice, onLabel)) {
        display_->setOuterSize(80, 80);
        display_->clear();
    }
    showChoices();
}

void SettingsDialog::clickMusic(int choice) {
    choices_.clickMusic(choice);
    showChoices();
}

void SettingsDialog::drawPreview() {
    const std::string& path = choices_.view().picturePathText;
    QImage picture;
    if (!path.empty() && canOpenFile(path)) picture = loadPictureFile(path);
    // A file that cannot be decoded shows the empty box, never the picture chosen before it.
    if (picture.isNull()) {
        display_->setOuterSize(80, 80);
        display_->clear();
        return;
    }
    const PreviewSize size = previewSize(picture.width(), picture.height());
    const int width = roundHalfEven(size.width);
    const int height = roundHalfEven(size.height);
    display_->setOuterSize(width, height);
    display_->clear();
    stretchNearest(display_->retained(), picture, width, height);
    display_->update();
}

void SettingsDialog::choosePicture() {
    const std::optional<QString> path =
        chooseFile(this, text(choices_.pictureChooserFolder()),
                   {QStringLiteral("画像ﾌｧｲﾙ (BMP JPG)"), QStringLiteral("*.BMP;*JPG")});
    if (path) acceptPictureFile(path->toStdString());
}

void SettingsDialog::acceptPictureFile(const std::string& path) {
    choices_.pictureChosen(path);
    showChoices();
    drawPreview();
}

void SettingsDialog::chooseMusic() {
    const std::optional<QString> path =
        chooseFile(this, text(choices_.musicChooserFolder()),
                   {QStringLiteral("BGMﾌｧｲﾙ (MP3 WAV)"), QStringLiteral("*.MP3;*.WAV")});
    if (path) acceptMusicFile(path->toStdString());
}

void SettingsDialog::acceptMusicFile(const std::string& path) {
    choices_.musicChosen(path);
    showChoices();
}

void SettingsDialog::save() {
    choices_.setRepeatText(repeatBox_->currentText().toStdString());
    choices_.takeRepeatTrack();
    // The user's own settings folder is made by the first save, not before: a run that saves
    // nothing leaves nothing. If it cannot be made the save says so, never misplaced.
    const std::filesystem::path folder = std::filesystem::path(files_.settingsFile).parent_path();
    std::error_code ignored;
    if (!folder.empty() && !std::filesystem::exists(folder, ignored)) {
        std::filesystem::create_directories(folder, ignored);
    }
    const std::vector<UnsavedChoice> unsaved =
        saveDialogSettings(choices_.values(), files_.settingsFile);
    if (!unsaved.empty()) {
        // The dialog stays open: the user can choose again, or leave with "ｷｬﾝｾﾙ".
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Quorlane"),
                        text(unsavedChoicesMessage(unsaved)), QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("UnsavedChoices"));
        box.exec();
        return;
    }
    askForScreenshotsIfWayland();
    accept();
}

// A Wayland desktop may ask the user once before a program's first screenshot (GNOME), and
// will not ask for a program without the focus: a show never has it, this dialog has it now.
void SettingsDialog::askForScreenshotsIfWayland() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland == nullptr || *wayland == '\0' || choices_.values().pictureMode != 0) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string why;
    if (!askScreenshotPermission(why)) {
        std::fprintf(stderr,
                     "Quorlane.scr: the desktop portal gave no screenshot (%s): shows will not "
                     "capture the desktop\n",
                     why.c_str());
    }
    QApplication::restoreOverrideCursor();
}

void SettingsDialog::openLink() {
    if (!canOpenFile(files_.page)) {
        warnAboutPage(PageProblem::Missing);
        return;
    }
    // xdg-open itself, as QDesktopServices would run it, so that an opener that is missing or
    // fails is told to the user instead of only to standard error. It may wait for the
    // browser: it has no parent, so that the dialog's end lets it go rather than kill it.
    auto* opener = new QProcess;
    connect(opener, &QProcess::errorOccurred, this, [this, opener](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        opener->deleteLater();
        warnAboutPage(PageProblem::NoOpener);
    });
    connect(opener, &QProcess::finished, this,
            [this, opener](int exitCode, QProcess::ExitStatus status) {
                opener->deleteLater();
                if (status != QProcess::NormalExit || exitCode != 0) {
                    warnAboutPage(PageProblem::NoOpener);
                }
            });
    opener->start(QStringLiteral("xdg-open"),
                  {QUrl::fromLocalFile(text(files_.page)).toString(QUrl::FullyEncoded)});
}

void SettingsDialog::warnAboutPage(PageProblem problem) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quorlane"),
                    text(productPageProblemMessage(problem, fileAddress(files_.page))),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("PageNotOpened"));
    box.exec();
}

void SettingsDialog::paintBackground() {
    background_ = QImage(size(), QImage::Format_RGB32);
    quorlane::paintBackground(background_);
    update();
}

void SettingsDialog::showEvent(QShowEvent* event) {
    if (background_.size() != size()) paintBackground();
    QDialog::showEvent(event);
}

void SettingsDialog::resizeEvent(QResizeEvent* event) {
    if (isVisible()) paintBackground();
    QDialog::resizeEvent(event);
}

void SettingsDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_.isNull()) {
        painter.fillRect(rect(), QColor(192, 192, 192));
    } else {
        painter.drawImage(0, 0, background_);
    }
}

void SettingsDialog::keyPressEvent(QKeyEvent* event) {
    // No button answers Escape or Enter; the keys do what the focused control does with them.
    QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call): not QDialog's keys
}

void SettingsDialog::done(int result) {
    if (!unloaded_) {
        unloaded_ = true;
        if (onX11()) zoomWindowClose(static_cast<unsigned long>(winId()));
    }
    QDialog::done(result);
}

}  // namespace quorlane
