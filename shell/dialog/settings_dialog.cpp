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

constexpr int kClientWidth = 390;
constexpr int kClientHeight = 299;
const QColor kWindowColour(255, 255, 255);
const QColor kPanelColour(128, 128, 128);

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

QLabel* plainLabel(QWidget* parent, const QString& caption, QRect rect, bool sizedToText,
                   Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
    return addLabel(new QLabel(parent), caption, rect, sizedToText, alignment);
}

ChoiceLabel* choiceLabel(QWidget* parent, const QString& caption, QRect rect, bool sizedToText) {
    auto* label = new ChoiceLabel(parent);
    addLabel(label, caption, rect, sizedToText);
    return label;
}

ChoiceLabel* mark(QWidget* parent, const char* name, int x, int y) {
    auto* label = new ChoiceLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(x, y, 12, 12);
    return label;
}

Command* command(QWidget* parent, const char* name, const QString& caption, QRect rect,
                 const QFont& font) {
    auto* button = new Command(parent);
    button->setObjectName(QLatin1String(name));
    button->setCaption(caption);
    button->setFont(font);
    button->setGeometry(rect);
    return button;
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
    setFixedSize(kClientWidth, kClientHeight);
    setFont(dialogFont());
    buildControls();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::buildControls() {
    const QFont font = dialogFont();
    const QPixmap plate = QPixmap::fromImage(artwork("title_plate.png"));

    auto* picturePanel = new RetainedBox(this, kPanelColour);
    picturePanel->setObjectName(QStringLiteral("Pic_D(2)"));
    picturePanel->setGeometry(12, 12, 365, 101);
    auto* musicPanel = new RetainedBox(this, kPanelColour);
    musicPanel->setObjectName(QStringLiteral("Pic_D(1)"));
    musicPanel->setGeometry(12, 124, 365, 117);
    panels_ = {musicPanel, picturePanel};

    QPalette white = palette();
    white.setColor(QPalette::WindowText, Qt::white);
    QLabel* credit = plainLabel(this, QStringLiteral("Designed by Quorlane Ver.1.0.0"),
                                QRect(12, 252, 165, 13), true);
    credit->setPalette(white);
    link_ = choiceLabel(this, QString(), QRect(12, 268, 214, 13), false);
    link_->setObjectName(QStringLiteral("lbl_URL"));
    QFont underlined = font;
    underlined.setUnderline(true);
    link_->setFont(underlined);
    link_->setPalette(white);
    // The address as a browser shows it, cut in the middle where the label's place ends (the
    // buttons begin 10 pixels after it): the file name stays whole.
    const QFontMetrics metrics(underlined);
    link_->setText(text(elidedInMiddle(fileAddress(files_.page), 214, [&](const std::string& cut) {
        return metrics.horizontalAdvance(text(cut));
    })));
    link_->setToolTip(text(fileAddress(files_.page)));
    link_->adjustSize();
    link_->setCursor(Qt::PointingHandCursor);

    setButton_ = command(this, "Cmd_Set", QStringLiteral("設定"), QRect(236, 256, 69, 25), font);
    cancelButton_ =
        command(this, "Cmd_Can", QStringLiteral("ｷｬﾝｾﾙ"), QRect(308, 256, 69, 25), font);

    // The picture panel; positions count from its client area, inside the border.
    QWidget* pictureArea = picturePanel->client();
    auto* plateP = new QLabel(pictureArea);
    plateP->setPixmap(plate);
    plateP->setGeometry(8, 8, 95, 22);
    plainLabel(pictureArea, QStringLiteral("画像の選択"), QRect(8, 12, 95, 13), false,
               Qt::AlignHCenter | Qt::AlignTop);
    pictureMarks_[0] = mark(pictureArea, "Img_Sel(0)", 116, 12);
    pictureLabels_[0] =
        choiceLabel(pictureArea, QStringLiteral("ｶﾚﾝﾄ・ﾃﾞｽｸﾄｯﾌﾟ"), QRect(132, 12, 83, 13), true);
    pictureMarks_[1] = mark(pictureArea, "Img_Sel(1)", 116, 32);
    pictureLabels_[1] =
        choiceLabel(pictureArea, QStringLiteral("画像ﾌｧｲﾙを指定"), QRect(132, 32, 92, 13), true);
    pictureButton_ =
        command(pictureArea, "Cmd_Pic", QStringLiteral("..."), QRect(228, 28, 37, 21), font);
    picturePath_ = new PathBox(pictureArea);
    picturePath_->setObjectName(QStringLiteral("lbl_Fname(1)"));
    picturePath_->setGeometry(8, 56, 257, 33);
    display_ = new RetainedBox(pictureArea, kWindowColour);
    display_->setObjectName(QStringLiteral("Display"));
    display_->setGeometry(272, 8, 80, 80);

    // The music panel, its choices in the screen order CD, none, file.
    QWidget* musicArea = musicPanel->client();
    auto* plateM = new QLabel(musicArea);
    plateM->setPixmap(plate);
    plateM->setGeometry(8, 8, 95, 22);
    plainLabel(musicArea, QStringLiteral("BGM"), QRect(8, 12, 95, 13), false,
               Qt::AlignHCenter | Qt::AlignTop);
    musicMarks_[1] = mark(musicArea, "Img_BGM(1)", 116, 12);
    musicLabels_[1] =
        choiceLabel(musicArea, QStringLiteral("音楽CD"), QRect(132, 12, 43, 13), false);
    repeatBox_ = new QComboBox(musicArea);
    repeatBox_->setObjectName(QStringLiteral("BGM_Repeat"));
    repeatBox_->setEditable(true);
    repeatBox_->setInsertPolicy(QComboBox::NoInsert);
    repeatBox_->setGeometry(200, 8, 41, 20);
    plainLabel(musicArea, QStringLiteral("曲目をﾘﾋﾟｰﾄ"), QRect(248, 12, 66, 13), false);
    musicMarks_[0] = mark(musicArea, "Img_BGM(0)", 116, 32);
    musicLabels_[0] = choiceLabel(musicArea, QStringLiteral("無し"), QRect(132, 32, 23, 13), false);
    musicMarks_[2] = mark(musicArea, "Img_BGM(2)", 116, 52);
    musicLabels_[2] =
        choiceLabel(musicArea, QStringLiteral("MP3、WAV"), QRect(132, 52, 60, 13), false);
    musicButton_ =
        command(musicArea, "Cmd_BGM", QStringLiteral("..."), QRect(200, 48, 37, 21), font);
    musicPath_ = new PathBox(musicArea);
    musicPath_->setObjectName(QStringLiteral("lbl_Fname(0)"));
    musicPath_->setGeometry(8, 72, 345, 33);

    for (int i = 0; i < 2; ++i) {
        pictureLabels_[i]->setObjectName(QStringLiteral("lbl_Sel(%1)").arg(i));
        connect(pictureMarks_[i], &ChoiceLabel::pressed, this,
                [this, i] { pressPicture(i, false); });
        connect(pictureLabels_[i], &ChoiceLabel::pressed, this,
                [this, i] { pressPicture(i, true); });
    }
    for (int i = 0; i < 3; ++i) {
        musicLabels_[i]->setObjectName(QStringLiteral("lbl_BGM(%1)").arg(i));
        connect(musicMarks_[i], &ChoiceLabel::clicked, this, [this, i] { clickMusic(i); });
        connect(musicLabels_[i], &ChoiceLabel::clicked, this, [this, i] { clickMusic(i); });
    }
    connect(link_, &ChoiceLabel::clicked, this, &SettingsDialog::openLink);
    connect(pictureButton_, &Command::click, this, &SettingsDialog::choosePicture);
    connect(musicButton_, &Command::click, this, &SettingsDialog::chooseMusic);
    connect(setButton_, &Command::click, this, &SettingsDialog::save);
    connect(cancelButton_, &Command::click, this, [this] { reject(); });
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
    const int outerWidth = kClientWidth + frame.left + frame.right;
    const int outerHeight = kClientHeight + frame.top + frame.bottom;
    const IntPoint outer = windowPlacement(whole.width(), whole.height(), outerWidth, outerHeight);
    const int left = whole.x() + outer.x;
    const int top = whole.y() + outer.y;
    setGeometry(left + frame.left, top + frame.top, kClientWidth, kClientHeight);
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
