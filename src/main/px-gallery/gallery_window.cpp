#include "gallery_window.h"

#include <fstream>
#include <vector>

#include "base/win32/argb_dib.h"

namespace px::gallery {
namespace {

constexpr wchar_t kClassName[] = L"PxGallery";

}  // namespace

std::unique_ptr<GalleryWindow> GalleryWindow::Create(HINSTANCE instance, TwipSize client) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(instance, kClassName, &wc)) {
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (RegisterClassExW(&wc) == 0) return nullptr;
  }
  const int w = TwipsToPixels(client.width), h = TwipsToPixels(client.height);
  // Borderless, yet with a taskbar button and a system menu, so that a minimised window can be
  // brought back.
  HWND window = CreateWindowExW(WS_EX_APPWINDOW, kClassName, L"px-gallery",
                                WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                                (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr) return nullptr;
  std::unique_ptr<GalleryWindow> gallery(new GalleryWindow(window));
  gallery->host_->GetSurface().SetBackColor(Rgb(240, 240, 240));
  gallery->bar_ =
      win32::BFormControl::Create(window, kBarId, {0, 0, client.width, 405}, DrawFrameSkin());
  if (gallery->bar_ == nullptr) return nullptr;
  gallery->bar_->frame().SetCaption(u"px-gallery");
  gallery->buttons_ = GalleryButtons::Create(window, *gallery->host_);
  if (gallery->buttons_ == nullptr) return nullptr;
  gallery->Layout();
  return gallery;
}

GalleryWindow::GalleryWindow(HWND window)
    : window_(window), host_(std::make_unique<win32::HostWindowSurface>(window)) {
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

GalleryWindow::~GalleryWindow() {
  buttons_.reset();
  bar_.reset();
  if (IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

LRESULT CALLBACK GalleryWindow::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* gallery = reinterpret_cast<GalleryWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (gallery == nullptr) return DefWindowProcW(window, message, w, l);
  return gallery->Handle(message, w, l);
}

void GalleryWindow::Layout() {
  // The bar runs along the whole top; the border is drawn anew for the window's size.
  RECT client{};
  GetClientRect(window_, &client);
  if (client.right == 0 || client.bottom == 0) return;  // minimised
  bar_->site().SetSize({PixelsToTwips(client.right), BForm::kHeight});
  bar_->frame().Printform(*host_);
  Surface& surface = host_->GetSurface();
  surface.SetForeColor(Rgb(60, 60, 60));
  surface.Print({300, 700}, u"Drag the bar to move the window.");
  surface.Print({300, 1000}, u"The bar's buttons minimise and close it.");
  if (buttons_ != nullptr) buttons_->ShowEvents();
}

LRESULT GalleryWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  LRESULT result = 0;
  if (host_->HandleMessage(message, w, l, &result)) {
    if (message == WM_SIZE && bar_ != nullptr) Layout();
    return result;
  }
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(l);
      if (header->idFrom != kBarId) break;
      switch (header->code) {
        case win32::kBFormMouseDown:
          if (reinterpret_cast<const win32::BFormMouseDown*>(l)->button == kLeftButton) {
            // The window is moved as if its caption had been grabbed.
            ReleaseCapture();
            SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
          }
          return 0;
        case win32::kBFormMinClick:
          ShowWindow(window_, SW_MINIMIZE);
          return 0;
        case win32::kBFormCloseClick:
          PostMessageW(window_, WM_CLOSE, 0, 0);
          return 0;
        default:
          return 0;
      }
    }
    case WM_DESTROY:
      if (quit_on_close_) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, w, l);
}

PictureRef CaptureScreen(HWND window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return nullptr;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  const BITMAPINFO info = win32::ArgbDibInfo(w, h);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  PictureRef picture;
  if (bitmap != nullptr) {
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* words = static_cast<const Argb*>(bits);
    std::vector<Argb> pixels(words, words + static_cast<std::size_t>(w) * h);
    for (Argb& p : pixels) p |= 0xFF000000u;
    picture = MakePixelPicture(w, h, std::move(pixels));
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

bool WriteBmp(const Picture& picture, const std::filesystem::path& path) {
  const std::int32_t w = picture.PixelWidth(), h = picture.PixelHeight();
  const BITMAPINFOHEADER info = win32::ArgbDibInfo(w, h).bmiHeader;
  const DWORD pixel_bytes = static_cast<DWORD>(w) * static_cast<DWORD>(h) * 4;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + pixel_bytes;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(reinterpret_cast<const char*>(picture.Pixels().data()), pixel_bytes);
  return static_cast<bool>(out);
}

}  // namespace px::gallery
