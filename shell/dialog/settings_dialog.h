#pragma once
// The settings dialog "<Quorlane>": the user picks the picture that covers the maze and the
// background music, and saves them or leaves. Built once, loaded, shown modally; the process
// ends when it closes.
#include <QDialog>
#include <QImage>
#include <array>
#include <string>

#include "shell/core/window_zoom.h"
#include "shell/dialog/dialog_choices.h"
#include "shell/dialog/product_page.h"

class QComboBox;
class QLabel;

namespace quorlane {

class Command;
class ChoiceLabel;
struct DialogControl;
class PathBox;
class RetainedBox;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    struct Files {
        std::string programFolder;  // start folder of the choosers when nothing else applies
        std::string settingsFile;   // where "設定" writes
        std::string page;           // the product's web page, which the link opens
        bool installed = false;     // an installed copy: the choosers start in the user's folders
    };

    SettingsDialog(SettingsValues& values, Files files);
    ~SettingsDialog() override;

    // The load steps, in order: placement, buttons, panels, choices, zoom anchor, zoom open.
    void load();

    // The dialog's font: "ＭＳ Ｐゴシック" 9.75 pt, with IPA P Gothic standing in here.
    static QFont dialogFont();

    // The controls by their names, for the window's own tests.
    const DialogChoices& choices() const { return choices_; }
    RetainedBox* previewBox() const { return display_; }
    // Pic_D(1), the music panel, and Pic_D(2), the picture panel.
    RetainedBox* panel(int index) const { return panels_[static_cast<std::size_t>(index - 1)]; }
    const QImage& background() const { return background_; }

    // Draws the preview from the text of the picture path box.
    void drawPreview();
    // What a successful choice in the file chooser does with the path.
    void acceptPictureFile(const std::string& path);
    void acceptMusicFile(const std::string& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public slots:
    void done(int result) override;

private:
    void buildControls();
    // Makes one control of the layout table and keeps it where the dialog needs it.
    QWidget* makeControl(const DialogControl& control);
    ChoiceLabel* makeLink(QWidget* area, const DialogControl& control);
    // Places the window; its outer rectangle on the screen, frame included.
    ZoomRect placeWindow();
    void showChoices();
    void pressPicture(int choice, bool onLabel);
    void clickMusic(int choice);
    void choosePicture();
    void chooseMusic();
    void save();
    void askForScreenshotsIfWayland();
    void openLink();
    void warnAboutPage(PageProblem problem);
    void paintBackground();
    bool onX11() const;

    DialogChoices choices_;
    Files files_;
    QImage background_;
    QImage tileStrip_;
    QImage markOn_;
    QImage markOff_;
    bool unloaded_ = false;

    std::array<RetainedBox*, 2> panels_{};  // Pic_D(1) music, Pic_D(2) picture
    RetainedBox* display_ = nullptr;
    std::array<ChoiceLabel*, 2> pictureMarks_{};
    std::array<ChoiceLabel*, 2> pictureLabels_{};
    std::array<ChoiceLabel*, 3> musicMarks_{};
    std::array<ChoiceLabel*, 3> musicLabels_{};
    PathBox* picturePath_ = nullptr;
    PathBox* musicPath_ = nullptr;
    QComboBox* repeatBox_ = nullptr;
    ChoiceLabel* link_ = nullptr;
    Command* setButton_ = nullptr;
    Command* cancelButton_ = nullptr;
    Command* pictureButton_ = nullptr;
    Command* musicButton_ = nullptr;
};

}  // namespace quorlane
