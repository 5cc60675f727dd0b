#include "shell/dialog/win32/win32_settings_dialog.h"

#include <windows.h>
// windows.h first: the dialogs' headers need its types.
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "common/win32/top_down_bitmap.h"
#include "common/win32/wide_text.h"
#include "common/window_titles.h"
#include "shell/controls/win32/resource_picture.h"
#include "shell/controls/win32/retained_surface.h"
#include "shell/controls/win32/win32_command.h"
#include "shell/controls/win32/win32_label.h"
#include "shell/controls/win32/win32_retained_box.h"
#include "shell/core/decoded_picture.h"
#include "shell/core/window_zoom.h"
#include "shell/dialog/dialog_choices.h"
#include "shell/dialog/dialog_geometry.h"
#include "shell/dialog/dialog_layout.h"
#include "shell/dialog/product_page.h"
#include "shell/dialog/settings_save.h"
#include "shell/platform/win32/win32_picture_file.h"
#include "shell/platform/win32/win32_window.h"
#include "shell/settings/settings_file.h"

namespace quorlane {

namespace {

// A combo box's window reaches down over its dropped list.
constexpr int kRepeatListHeight = 200;

// One of the user's Known Folders when it is there, else empty.
std::string knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        const DWORD attributes = GetFileAttributesW(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            folder = utf8FromWide(path);
    }
    CoTaskMemFree(path);
    return folder;
}

ChooserFolders userChooserFolders(bool installed) {
    return {installed, knownFolder(FOLDERID_Pictures), knownFolder(FOLDERID_Music),
            knownFolder(FOLDERID_Profile)};
}

// The table's 0xRRGGBB as GDI's colour.
COLORREF colourRef(uint32_t colour) {
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

// panels_ holds the music panel first.
size_t panelIndex(DialogArea area) { return area == DialogArea::MusicPanel ? 0 : 1; }

class SettingsDialog : public Win32Window {
public:
    SettingsDialog(SettingsValues& values, const SettingsDialogFiles& files)
        : choices_(values, files.programFolder, userChooserFolders(files.installed)),
          files_(files) {
        Win32WindowClass dialogClass;
        dialogClass.name = "Vantorel_P";
        dialogClass.cursor = LoadCursor(nullptr, IDC_ARROW);
        dialogClass.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        create(dialogClass, WS_EX_DLGMODALFRAME, kSettingsDialogTitle, style,
               {0, 0, kDialogClientWidth, kDialogClientHeight}, nullptr);
        // Everything in the design's pixels at 96 dots per inch is scaled to the window's.
        dpi_ = windowDpi(window());
        RECT outer{0, 0, px(kDialogClientWidth), px(kDialogClientHeight)};
        AdjustWindowRectEx(&outer, style, FALSE, WS_EX_DLGMODALFRAME);
        SetWindowPos(window(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

        font_ = createGdiFont(commandCaptionFont(), dpi_);
        FontDescription underlined = commandCaptionFont();
        underlined.underline = true;
        linkFont_ = createGdiFont(underlined, dpi_);
        tileStrip_ = scaledPicture(loadResourcePicture("DIALOG_TILE_STRIP"), dpi_);
        plate_ = scaledPicture(loadResourcePicture("DIALOG_TITLE_PLATE"), dpi_);
        markOn_ = scaledPicture(loadResourcePicture("DIALOG_MARK_ON"), dpi_);
        markOff_ = scaledPicture(loadResourcePicture("DIALOG_MARK_OFF"), dpi_);
        background_.resize(px(kDialogClientWidth), px(kDialogClientHeight), 0);
        paintBackground();
        buildControls();
    }
    ~SettingsDialog() override {
        // The children go before the fonts they draw with.
        for (auto& button : buttons_) button.reset();
        labels_.clear();
        boxes_.clear();
        destroy();
        DeleteObject(font_);
        DeleteObject(linkFont_);
    }

    // The load steps: placement, buttons, panels, choices, zoom anchor, zoom open; then shown.
    void load() {
        const RECT outer = placeWindow();
        for (auto& button : buttons_) button->initialize();
        tilePanels();
        if (choices_.load()) drawPreview();
        SendMessageW(repeatBox_, CB_RESETCONTENT, 0, 0);
        for (const std::string& entry : repeatTrackEntries())
            SendMessageW(repeatBox_, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(wideFromUtf8(entry).c_str()));
        SetWindowTextW(repeatBox_, wideFromUtf8(choices_.view().repeatText).c_str());
        showChoices();

        POINT pointer{};
        GetCursorPos(&pointer);
        ZoomAnchor& anchor = zoomAnchor();
        anchor.x = anchorCoordinate(pointer.x, anchor.x);
        anchor.y = anchorCoordinate(pointer.y, anchor.y);
        zoom(zoomOpenPath(anchor, {outer.left, outer.top, outer.right, outer.bottom}));
        ShowWindow(window(), SW_SHOW);
        UpdateWindow(window());
        SetForegroundWindow(window());
    }

    // Runs until the window is gone.
    void run() {
        MSG message;
        while (!closed_ && GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (IsDialogMessageA(window(), &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window(), &paint);
            background_.copyTo(dc, 0, 0, background_.width(), background_.height());
            EndPaint(window(), &paint);
            return 0;
        }
        case WM_COMMAND:
            // No button answers Enter or Escape: the keys do what the focused control does.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) return 0;
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                for (auto& button : buttons_) button->windowsAboveChanged();
            }
            break;
        case WM_CLOSE: finish(); return 0;
        default: break;
        }
        return Win32Window::handle(message, wParam, lParam);
    }

private:
    enum Button { SetButton, CancelButton, PictureButton, MusicButton };

    // A length of the design (96 dots per inch) in the window's pixels.
    int px(int length) const { return scaledToDpi(length, dpi_); }
    RECT px(RECT design) const {
        return {px(design.left), px(design.top), px(design.right), px(design.bottom)};
    }

    void paintBackground() {
        // The design's rows, each repeated to the scale.
        for (int y = 0; y < background_.height(); ++y) {
            const uint32_t b =
                static_cast<uint32_t>(backgroundShade(y * 96 / dpi_, kDialogClientHeight));
            const uint32_t colour = (b + 30) << 16 | b << 8 | (b + 30);
            uint32_t* row = background_.row(y);
            for (int x = 0; x < background_.width(); ++x) row[x] = colour;
        }
    }

    void tilePanels() {
        for (Win32RetainedBox* panel : {panels_[0], panels_[1]}) {
            RetainedSurface& surface = panel->retained();
            for (const IntPoint& at : tileOrigins(panel->outerWidth(), panel->outerHeight(),
                                                  tileStrip_.width, tileStrip_.height))
                surface.draw(tileStrip_, at.x, at.y);
            for (const Plate& plate : plates_) {
                if (plate.panel == panel) surface.draw(plate_, plate.x, plate.y);
            }
            InvalidateRect(panel->window(), nullptr, FALSE);
        }
    }

    Win32RetainedBox* box(HWND parent, uint32_t base, RECT outer) {
        boxes_.push_back(std::make_unique<Win32RetainedBox>(parent, base, px(outer)));
        return boxes_.back().get();
    }

    Win32Label* label(HWND parent, const RetainedSurface& beneath, const std::string& text, RECT at,
                      bool sizedToText, Win32Label::Look look = {}) {
        if (look.font == nullptr) look.font = font_;
        labels_.push_back(std::make_unique<Win32Label>(parent, beneath, px(at), look));
        Win32Label* made = labels_.back().get();
        made->setText(text);
        if (sizedToText) {
            made->fitText();
        } else if (!look.framed) {
            made->widenToText();
        }
        return made;
    }

    void button(Button which, HWND parent, const std::string& caption, RECT at,
                std::function<void()> onClick) {
        buttons_[which] =
            std::make_unique<Win32Command>(parent, caption, px(at), std::move(onClick), dpi_);
    }

    void buildControls() {
        for (const DialogControl& control : dialogControls()) makeControl(control);
        for (int i = 0; i < 2; ++i) {
            pictureMarks_[size_t(i)]->pressed = [this, i] { pressPicture(i, false); };
            pictureLabels_[size_t(i)]->pressed = [this, i] { pressPicture(i, true); };
        }
        for (int i = 0; i < 3; ++i) {
            musicMarks_[size_t(i)]->clicked = [this, i] { clickMusic(i); };
            musicLabels_[size_t(i)]->clicked = [this, i] { clickMusic(i); };
        }
        link_->clicked = [this] { openLink(); };
    }

    // Makes one control of the layout table and keeps it where the dialog needs it.
    void makeControl(const DialogControl& control) {
        // A panel lies on the window; everything else in its area, counted from its inner area.
        const bool onWindow =
            control.area == DialogArea::Window || control.kind == ControlKind::Panel;
        Win32RetainedBox* panel = onWindow ? nullptr : panels_[panelIndex(control.area)];
        HWND area = onWindow ? window() : panel->window();
        const RetainedSurface& beneath = onWindow ? background_ : panel->retained();
        const DesignRect& r = control.rect;
        const RECT at{r.x, r.y, r.x + r.width, r.y + r.height};
        const bool picture = control.area == DialogArea::PicturePanel;
        const size_t choice = size_t(control.choice);
        Win32Label::Look look;
        look.colour = colourRef(control.colour);
        switch (control.kind) {
        case ControlKind::Panel:
            panels_[panelIndex(control.area)] = box(window(), control.colour, at);
            return;
        case ControlKind::PreviewBox: display_ = box(area, control.colour, at); return;
        case ControlKind::TitlePlate: plates_.push_back({panel, px(r.x), px(r.y)}); return;
        case ControlKind::Title:
            look.format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
            label(area, beneath, control.caption, at, control.fitsText, look);
            return;
        case ControlKind::Text:
            label(area, beneath, control.caption, at, control.fitsText, look);
            return;
        case ControlKind::ChoiceMark: {
            Win32Label* mark = label(area, beneath, "", at, false, look);
            if (picture)
                pictureMarks_.at(choice) = mark;
            else
                musicMarks_.at(choice) = mark;
            return;
        }
        case ControlKind::ChoiceText: {
            Win32Label* text = label(area, beneath, control.caption, at, control.fitsText, look);
            if (picture)
                pictureLabels_.at(choice) = text;
            else
                musicLabels_.at(choice) = text;
            return;
        }
        case ControlKind::Link: makeLink(control, look); return;
        case ControlKind::SaveButton:
            button(SetButton, area, control.caption, at, [this] { save(); });
            return;
        case ControlKind::CancelButton:
            button(CancelButton, area, control.caption, at, [this] { finish(); });
            return;
        case ControlKind::ChooserButton:
            if (picture) {
                button(PictureButton, area, control.caption, at, [this] { choosePicture(); });
            } else {
                button(MusicButton, area, control.caption, at, [this] { chooseMusic(); });
            }
            return;
        case ControlKind::PathBox:
            look.framed = true;
            look.format = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
            (picture ? picturePath_ : musicPath_) = label(area, beneath, "", at, false, look);
            return;
        case ControlKind::RepeatBox:
            repeatBox_ = CreateWindowExW(
                0, L"COMBOBOX", L"",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                px(r.x), px(r.y), px(r.width), px(kRepeatListHeight), area, nullptr,
                GetModuleHandleA(nullptr), nullptr);
            SendMessageW(repeatBox_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
            return;
        }
    }

    void makeLink(const DialogControl& control, Win32Label::Look look) {
        const DesignRect& r = control.rect;
        look.font = linkFont_;
        labels_.push_back(std::make_unique<Win32Label>(
            window(), background_, px({r.x, r.y, r.x + r.width, r.y + r.height}), look,
            LoadCursor(nullptr, IDC_HAND)));
        link_ = labels_.back().get();
        link_->setText(
            elidedInMiddle(fileAddress(files_.page), px(r.width),
                           [this](const std::string& text) { return link_->textWidth(text); }));
        if (control.fitsText) link_->fitText();
    }

    // Places the window centred across, at a third of the free height; its outer rectangle.
    RECT placeWindow() {
        RECT outer;
        GetWindowRect(window(), &outer);
        const int width = outer.right - outer.left;
        const int height = outer.bottom - outer.top;
        const IntPoint at = windowPlacement(GetSystemMetrics(SM_CXSCREEN),
                                            GetSystemMetrics(SM_CYSCREEN), width, height);
        SetWindowPos(window(), nullptr, at.x, at.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return {at.x, at.y, at.x + width, at.y + height};
    }

    void zoom(const ZoomPath& path) {
        const RECT from{path.from.left, path.from.top, path.from.right, path.from.bottom};
        const RECT to{path.to.left, path.to.top, path.to.right, path.to.bottom};
        DrawAnimatedRects(window(), IDANI_CAPTION, &from, &to);
    }

    void showChoices() {
        const DialogView& view = choices_.view();
        auto showMark = [this](Win32Label* label, Mark mark) {
            label->setPicture(mark == Mark::Empty ? nullptr
                              : mark == Mark::On  ? &markOn_
                                                  : &markOff_);
        };
        for (size_t i = 0; i < pictureMarks_.size(); ++i)
            showMark(pictureMarks_[i], view.pictureMarks[i]);
        for (size_t i = 0; i < musicMarks_.size(); ++i)
            showMark(musicMarks_[i], view.musicMarks[i]);
        buttons_[PictureButton]->setButtonEnabled(view.pictureChooserEnabled);
        buttons_[MusicButton]->setButtonEnabled(view.musicChooserEnabled);
        EnableWindow(repeatBox_, view.repeatBoxEnabled);
        picturePath_->setText(view.picturePathText);
        musicPath_->setText(view.musicPathText);
    }

    void pressPicture(int choice, bool onLabel) {
        if (choices_.pressPicture(choice, onLabel)) {
            display_->setOuterSize(px(80), px(80));
            display_->clear();
        }
        showChoices();
    }

    void clickMusic(int choice) {
        choices_.clickMusic(choice);
        showChoices();
    }

    void drawPreview() {
        const std::string& path = choices_.view().picturePathText;
        DecodedPicture picture;
        // A file that cannot be decoded shows the empty box, never the picture chosen before it.
        if (path.empty() || !decodePictureFile(path, picture) || picture.width <= 0 ||
            picture.height <= 0) {
            display_->setOuterSize(px(80), px(80));
            display_->clear();
            return;
        }
        const PreviewSize size = previewSize(picture.width, picture.height);
        const int width = px(roundHalfEven(size.width));
        const int height = px(roundHalfEven(size.height));
        display_->setOuterSize(width, height);
        display_->clear();
        BITMAPINFO info = topDownBitmapInfo(picture.width, picture.height);
        HDC dc = display_->retained().dc();
        // Whole rows and columns kept or dropped, never blended.
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, 0, 0, width, height, 0, 0, picture.width, picture.height,
                      picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
        GdiFlush();
        InvalidateRect(display_->window(), nullptr, FALSE);
    }

    // The chosen file, or nothing when the user cancelled.
    std::optional<std::string> chooseFile(const std::string& startFolder, const wchar_t* filter) {
        std::wstring file(MAX_PATH * 4, L'\0');
        const std::wstring folder = wideFromUtf8(startFolder);
        OPENFILENAMEW open{};
        open.lStructSize = sizeof open;
        open.hwndOwner = window();
        open.lpstrFilter = filter;
        open.lpstrFile = file.data();
        open.nMaxFile = DWORD(file.size());
        open.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        open.lpstrTitle = L"ﾌｧｲﾙを開く";
        open.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
        const BOOL chosen = GetOpenFileNameW(&open);
        // The chooser lay over the buttons: one under a resting pointer has it again.
        for (auto& button : buttons_) button->windowsAboveChanged();
        if (!chosen) return std::nullopt;
        file.resize(wcslen(file.c_str()));
        if (file.empty()) return std::nullopt;
        return utf8FromWide(file);
    }

    void choosePicture() {
        const auto path =
            chooseFile(choices_.pictureChooserFolder(), L"画像ﾌｧｲﾙ (BMP JPG)\0*.BMP;*JPG\0");
        if (!path) return;
        choices_.pictureChosen(*path);
        showChoices();
        drawPreview();
    }

    void chooseMusic() {
        const auto path =
            chooseFile(choices_.musicChooserFolder(), L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0");
        if (!path) return;
        choices_.musicChosen(*path);
        showChoices();
    }

    void save() {
        const int length = GetWindowTextLengthW(repeatBox_);
        std::wstring text(size_t(length) + 1, L'\0');
        GetWindowTextW(repeatBox_, text.data(), length + 1);
        text.resize(size_t(length));
        choices_.setRepeatText(utf8FromWide(text));
        choices_.takeRepeatTrack();
        const std::vector<UnsavedChoice> unsaved =
            saveDialogSettings(choices_.values(), files_.settingsFile);
        if (!unsaved.empty()) {
            // The dialog stays open: the user can choose again, or leave with "ｷｬﾝｾﾙ".
            MessageBoxW(window(), wideFromUtf8(unsavedChoicesMessage(unsaved)).c_str(), L"Quorlane",
                        MB_OK | MB_ICONWARNING);
            for (auto& button : buttons_) button->windowsAboveChanged();
            return;
        }
        finish();
    }

    void openLink() {
        if (!canOpenFile(files_.page)) {
            warnAboutPage(PageProblem::Missing);
            return;
        }
        HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        // The file itself: its association picks the user's browser.
        const auto opened = reinterpret_cast<INT_PTR>(ShellExecuteW(
            window(), L"open", wideFromUtf8(files_.page).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        SetCursor(previous);
        if (opened <= 32) warnAboutPage(PageProblem::NoOpener);
    }

    void warnAboutPage(PageProblem problem) {
        MessageBoxW(
            window(),
            wideFromUtf8(productPageProblemMessage(problem, fileAddress(files_.page))).c_str(),
            L"Quorlane", MB_OK | MB_ICONWARNING);
        for (auto& button : buttons_) button->windowsAboveChanged();
    }

    // The unload: the zoom back into the anchor, then the window goes.
    void finish() {
        if (closed_) return;
        closed_ = true;
        RECT outer;
        GetWindowRect(window(), &outer);
        ShowWindow(window(), SW_HIDE);
        zoom(zoomClosePath({outer.left, outer.top, outer.right, outer.bottom}, zoomAnchor()));
    }

    DialogChoices choices_;
    SettingsDialogFiles files_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    ResourcePicture tileStrip_;
    ResourcePicture plate_;
    ResourcePicture markOn_;
    ResourcePicture markOff_;
    RetainedSurface background_;
    bool closed_ = false;

    std::vector<std::unique_ptr<Win32RetainedBox>> boxes_;
    std::vector<std::unique_ptr<Win32Label>> labels_;
    std::array<std::unique_ptr<Win32Command>, 4> buttons_;
    std::array<Win32RetainedBox*, 2> panels_{};  // music, picture
    // The title plates, drawn into their panels over the tiles.
    struct Plate {
        Win32RetainedBox* panel;
        int x, y;
    };
    std::vector<Plate> plates_;
    Win32RetainedBox* display_ = nullptr;
    std::array<Win32Label*, 2> pictureMarks_{};
    std::array<Win32Label*, 2> pictureLabels_{};
    std::array<Win32Label*, 3> musicMarks_{};
    std::array<Win32Label*, 3> musicLabels_{};
    Win32Label* picturePath_ = nullptr;
    Win32Label* musicPath_ = nullptr;
    Win32Label* link_ = nullptr;
    HWND repeatBox_ = nullptr;
};

}  // namespace

int runWin32SettingsDialog(SettingsValues& values, const SettingsDialogFiles& files) {
    // The shell's file associations, behind ShellExecute and the chooser, may be COM objects.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    {
        SettingsDialog dialog(values, files);
        dialog.load();
        dialog.run();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}

}  // namespace quorlane
