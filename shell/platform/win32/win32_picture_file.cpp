#include "shell/platform/win32/win32_picture_file.h"

#include <windows.h>
// windows.h first: the OLE headers need its types.
#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <vector>

#include "common/win32/top_down_bitmap.h"
#include "common/win32/wide_text.h"

namespace quorlane {

namespace {

// Files beyond this are no picture a show would take; the limit keeps one from filling memory.
constexpr DWORD kMaxPictureBytes = 256u << 20;

// The whole file in movable global memory, as OLE's streams want it; null when unreadable.
HGLOBAL readIntoGlobal(const std::string& path) {
    const std::wstring wide = wideFromUtf8(path);
    if (wide.empty()) return nullptr;
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size = {};
    HGLOBAL memory = nullptr;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxPictureBytes) {
        const DWORD bytes = static_cast<DWORD>(size.QuadPart);
        memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        void* data = memory != nullptr ? GlobalLock(memory) : nullptr;
        DWORD read = 0;
        const bool whole =
            data != nullptr && ReadFile(file, data, bytes, &read, nullptr) && read == bytes;
        if (data != nullptr) GlobalUnlock(memory);
        if (!whole && memory != nullptr) {
            GlobalFree(memory);
            memory = nullptr;
        }
    }
    CloseHandle(file);
    return memory;
}

// Pixels per metre from the picture's size in pixels and in hundredths of a millimetre.
int32_t dotsPerMeter(int pixels, OLE_XSIZE_HIMETRIC himetric) {
    if (himetric <= 0) return 0;
    return static_cast<int32_t>((static_cast<long long>(pixels) * 100000 + himetric / 2) /
                                himetric);
}

// Takes the memory, whatever the outcome.
bool decodeGlobal(HGLOBAL memory, DecodedPicture& picture);

}  // namespace

bool decodePictureFile(const std::string& path, DecodedPicture& picture) {
    return decodeGlobal(readIntoGlobal(path), picture);
}

bool decodePictureBytes(const void* bytes, std::size_t size, DecodedPicture& picture) {
    if (bytes == nullptr || size == 0 || size > kMaxPictureBytes) return false;
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    void* data = memory != nullptr ? GlobalLock(memory) : nullptr;
    if (data == nullptr) {
        if (memory != nullptr) GlobalFree(memory);
        return false;
    }
    std::memcpy(data, bytes, size);
    GlobalUnlock(memory);
    return decodeGlobal(memory, picture);
}

namespace {

bool decodeGlobal(HGLOBAL memory, DecodedPicture& picture) {
    if (memory == nullptr) return false;
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(memory, TRUE, &stream) != S_OK) {
        GlobalFree(memory);
        return false;
    }
    IPicture* loaded = nullptr;
    const HRESULT result =
        OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&loaded));
    stream->Release();
    if (result != S_OK || loaded == nullptr) return false;

    bool ok = false;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    OLE_XSIZE_HIMETRIC widthHimetric = 0;
    OLE_YSIZE_HIMETRIC heightHimetric = 0;
    if (loaded->get_Type(&type) == S_OK && type == PICTYPE_BITMAP &&
        loaded->get_Handle(&handle) == S_OK && loaded->get_Width(&widthHimetric) == S_OK &&
        loaded->get_Height(&heightHimetric) == S_OK) {
        const HBITMAP bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        BITMAP shape = {};
        if (GetObjectA(bitmap, sizeof shape, &shape) == sizeof shape && shape.bmWidth > 0 &&
            shape.bmHeight > 0) {
            BITMAPINFO info = topDownBitmapInfo(shape.bmWidth, shape.bmHeight);
            std::vector<uint32_t> pixels(static_cast<std::size_t>(shape.bmWidth) * shape.bmHeight);
            const HDC screen = GetDC(nullptr);
            ok = GetDIBits(screen, bitmap, 0, static_cast<UINT>(shape.bmHeight), pixels.data(),
                           &info, DIB_RGB_COLORS) == shape.bmHeight;
            ReleaseDC(nullptr, screen);
            if (ok) {
                picture.width = shape.bmWidth;
                picture.height = shape.bmHeight;
                picture.pixels = std::move(pixels);
                picture.dotsPerMeterX = dotsPerMeter(shape.bmWidth, widthHimetric);
                picture.dotsPerMeterY = dotsPerMeter(shape.bmHeight, heightHimetric);
            }
        }
    }
    loaded->Release();
    return ok;
}

}  // namespace

}  // namespace quorlane
