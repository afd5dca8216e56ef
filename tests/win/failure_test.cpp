// Failures injected into the overlay's tools and ways out: a text box, colour dialog or
// save dialog that cannot be created, a clipboard another window holds, a disk that fills
// after the file was created, a pin that cannot be made. Each must leave the overlay open
// with its selection and mark, keep other windows working, and hold on to nothing: every
// route runs for several rounds between two measures of GDI objects and memory.
//
// The full disk comes from outside: ctest runs this program with VLS_FILE_SIZE_LIMIT_KIB
// set, which tests/wine-run.sh turns into `ulimit -f`, so a write past that size fails
// after the file was created. Windows has no such limit for one process, so there that
// test is skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/output/output_file_win.h"
#include "capture/overlay/overlay_internal_win.h"
#include "capture/overlay/overlay_testing_win.h"
#include "capture/overlay/overlay_win.h"
#include "capture/overlay/toolbar.h"
#include "capture/pin/pin_testing_win.h"
#include "process_measure.h"
#include "window_driver.h"

namespace {

constexpr int WARM_UP = 3;
constexpr int ROUNDS = 6;
// A selection of 800 x 600: a rendered copy kept per round would hold 1.9 MB each time.
constexpr int SELECTION_LEFT = 100, SELECTION_TOP = 100;
constexpr int SELECTION_RIGHT = 900, SELECTION_BOTTOM = 700;
constexpr int64_t IMAGE_KIB = 800 * 600 * 4 / 1024;

struct Cost {
    int gdi_objects = 0;
    int64_t memory_kib = 0;
};

// What ROUNDS runs of `path` keep, after WARM_UP runs that may fill caches.
template <typename Path>
Cost cost_of(const char* name, Path path) {
    for (int i = 0; i < WARM_UP; ++i) path();
    const int gdi_before = creatable_gdi_objects();
    const int64_t memory_before = committed_private_kib();
    for (int i = 0; i < ROUNDS; ++i) path();
    const Cost cost{gdi_before - creatable_gdi_objects(), committed_private_kib() - memory_before};
    std::printf("%d rounds of %s kept %d GDI objects and %lld KiB\n", ROUNDS, name,
                cost.gdi_objects, static_cast<long long>(cost.memory_kib));
    std::fflush(stdout);
    return cost;
}

// Not one GDI object per round, nor a rendered image's worth of memory every other round.
void expect_nothing_kept(const Cost& cost) {
    EXPECT_LT(cost.gdi_objects, ROUNDS / 2);
    EXPECT_LT(cost.memory_kib, IMAGE_KIB * ROUNDS / 2);
}

// Refuses, while it lives, the creation of this thread's windows of one class: the
// system's answer when it is out of window or desktop-heap resources.
class RefusedWindows {
  public:
    explicit RefusedWindows(const wchar_t* window_class) {
        refused_class = window_class;
        hook = SetWindowsHookExW(WH_CBT, refuse, nullptr, GetCurrentThreadId());
    }
    ~RefusedWindows() { UnhookWindowsHookEx(hook); }
    RefusedWindows(const RefusedWindows&) = delete;
    RefusedWindows& operator=(const RefusedWindows&) = delete;

  private:
    static LRESULT CALLBACK refuse(int code, WPARAM window, LPARAM data) {
        if (code == HCBT_CREATEWND) {
            wchar_t name[64] = {};
            GetClassNameW(reinterpret_cast<HWND>(window), name, 64);
            if (lstrcmpiW(name, refused_class) == 0) return 1;
        }
        return CallNextHookEx(nullptr, code, window, data);
    }
    static inline const wchar_t* refused_class = L"";
    HHOOK hook = nullptr;
};

// An overlay with a confirmed selection and one pen mark on it.
HWND open_marked_overlay() {
    HWND window = open_new_overlay();
    if (!window) return nullptr;
    drag(window, SELECTION_LEFT, SELECTION_TOP, SELECTION_RIGHT, SELECTION_BOTTOM);
    drag(window, 150, 150, 400, 300);
    pump();
    return window;
}

// Noise does not compress: a PNG of the selection stays far larger than the file limit.
void paint_noise_under_the_selection() {
    const int w = SELECTION_RIGHT - SELECTION_LEFT, h = SELECTION_BOTTOM - SELECTION_TOP;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    uint32_t seed = 12345;
    for (uint32_t& pixel : pixels) pixel = (seed = seed * 1664525u + 1013904223u) >> 8;
    BITMAPINFOHEADER header{sizeof header, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    SetDIBitsToDevice(screen, SELECTION_LEFT, SELECTION_TOP, w, h, 0, 0, 0, h, pixels.data(),
                      reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
}

// The overlay is still open with its selection, its toolbar and its one mark.
bool kept_with_its_mark(HWND window) {
    const OverlayState* s = overlay_state(window);
    return IsWindow(window) && s && s->has_selection && s->toolbar_active &&
           s->annotations.size() == 1;
}

// Esc still closes the overlay after the failure.
bool closes_on_escape(HWND window) {
    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    return !IsWindow(window);
}

class InjectedFailures : public ::testing::Test {
  protected:
    void SetUp() override {
        // Another window of the process that must keep working throughout.
        PixelImage image;
        image.width = 120;
        image.height = 80;
        image.pixels.assign(120u * 80u * 4u, 0x40);
        ASSERT_TRUE(open_pin_window(image));
        pin = own_windows(PIN_WINDOW_CLASS).at(0);
    }
    void TearDown() override {
        // The pin answers the mouse and paints as before.
        ASSERT_TRUE(IsWindow(pin));
        SendMessageW(pin, WM_MOUSEMOVE, 0, at(5, 5));
        EXPECT_TRUE(pin_window_state(pin)->hover);
        EXPECT_TRUE(RedrawWindow(pin, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW));
        SendMessageW(pin, WM_RBUTTONDOWN, MK_RBUTTON, at(5, 5));
        pump();
        EXPECT_FALSE(IsWindow(pin));
        close_own_windows();
    }
    HWND pin = nullptr;
};

// Wine's ntdll exports wine_get_version; Windows' does not.
bool running_under_wine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace

TEST_F(InjectedFailures, ATextBoxThatCannotBeCreatedDrawsNothingAndTheNextOneOpens) {
    int kept = 0, reopened = 0, closed = 0;
    const Cost cost = cost_of("a refused text box", [&] {
        HWND window = open_marked_overlay();
        press_toolbar_button(window, TOOLBAR_TEXT);
        {
            RefusedWindows refused(L"Edit");
            SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(300, 400));
            SendMessageW(window, WM_LBUTTONUP, 0, at(300, 400));
        }
        pump();
        kept += kept_with_its_mark(window) && overlay_state(window)->text_edit == nullptr;
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(300, 400));
        reopened += overlay_state(window)->text_edit != nullptr;
        closed += closes_on_escape(window);
    });
    EXPECT_EQ(kept, WARM_UP + ROUNDS);
    EXPECT_EQ(reopened, WARM_UP + ROUNDS);
    EXPECT_EQ(closed, WARM_UP + ROUNDS);
    expect_nothing_kept(cost);
}

TEST_F(InjectedFailures, AColourOrSaveDialogThatCannotOpenKeepsTheCaptureAndItsColour) {
    for (ToolbarCommand command : {TOOLBAR_COLOR, TOOLBAR_SAVE}) {
        int kept = 0, closed = 0;
        const char* name =
            command == TOOLBAR_COLOR ? "a refused colour dialog" : "a refused save dialog";
        const Cost cost = cost_of(name, [&] {
            HWND window = open_marked_overlay();
            overlay_state(window)->color = 0x00123456;
            {
                RefusedWindows refused(L"#32770");
                press_toolbar_button(window, command);
            }
            kept += kept_with_its_mark(window) && overlay_state(window)->color == 0x00123456;
            closed += closes_on_escape(window);
        });
        EXPECT_EQ(kept, WARM_UP + ROUNDS) << name;
        EXPECT_EQ(closed, WARM_UP + ROUNDS) << name;
        expect_nothing_kept(cost);
    }
}

TEST_F(InjectedFailures, AHeldClipboardKeepsTheCaptureUntilItIsFree) {
    // A clipboard opened by this thread counts as held for another owner window.
    HWND holder =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    int kept = 0, closed = 0;
    const Cost cost = cost_of("a held clipboard", [&] {
        HWND window = open_marked_overlay();
        if (!OpenClipboard(holder)) return;
        press_toolbar_button(window, TOOLBAR_COPY);
        CloseClipboard();
        kept += kept_with_its_mark(window);
        closed += closes_on_escape(window);
    });
    DestroyWindow(holder);
    EXPECT_EQ(kept, WARM_UP + ROUNDS);
    EXPECT_EQ(closed, WARM_UP + ROUNDS);
    expect_nothing_kept(cost);

    // Once free, Copy copies the marked selection and ends the overlay.
    HWND window = open_marked_overlay();
    ASSERT_TRUE(press_toolbar_button(window, TOOLBAR_COPY));
    pump();
    EXPECT_FALSE(IsWindow(window));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE dib = GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(header->biWidth, SELECTION_RIGHT - SELECTION_LEFT);
    EXPECT_EQ(header->biHeight, -(SELECTION_BOTTOM - SELECTION_TOP));
    GlobalUnlock(dib);
    CloseClipboard();
}

TEST_F(InjectedFailures, ADiskThatFillsAfterTheFileWasCreatedKeepsTheCaptureAndNoFile) {
    const char* limit = std::getenv("VLS_FILE_SIZE_LIMIT_KIB");
    if (limit == nullptr && !running_under_wine())
        GTEST_SKIP() << "nothing limits the size of written files here: under Wine, "
                        "tests/wine-run.sh does it with ulimit -f";
    ASSERT_NE(limit, nullptr) << "run through ctest, which limits the size of written files";
    const auto folder = std::filesystem::temp_directory_path() /
                        ("vls-full-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path working = std::filesystem::current_path();
    {
        // The limit is in force: a file opens, and writing past the limit fails.
        std::optional<OutputFile> probe = create_output_file((folder / "probe").string());
        ASSERT_TRUE(probe);
        const std::vector<char> block((std::atoi(limit) + 1) * 1024, 'x');
        EXPECT_FALSE(write_all(probe->handle, block.data(), block.size()));
        EXPECT_FALSE(finish_output_file(*probe, false)); // an incomplete file is removed
    }
    int kept = 0, closed = 0, file = 0, left = 0;
    const Cost cost = cost_of("a disk filling during the save", [&] {
        paint_noise_under_the_selection();
        HWND window = open_marked_overlay();
        // BMP and PNG in turn; both are far larger than the limit.
        const auto path = folder / ("shot" + std::to_string(file) + (file % 2 ? ".bmp" : ".png"));
        ++file;
        with_save_dialog_answered(path.wstring(),
                                  [&] { press_toolbar_button(window, TOOLBAR_SAVE); });
        left += std::filesystem::exists(path);
        kept += kept_with_its_mark(window);
        closed += closes_on_escape(window);
    });
    std::filesystem::current_path(working); // the dialog changed it
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    EXPECT_EQ(left, 0) << "partial files must be removed";
    EXPECT_EQ(kept, WARM_UP + ROUNDS);
    EXPECT_EQ(closed, WARM_UP + ROUNDS);
    expect_nothing_kept(cost);
}

TEST_F(InjectedFailures, APinThatCannotBeMadeKeepsTheCapture) {
    for (PinFault fault : {PinFault::Dib, PinFault::Window}) {
        int kept = 0, closed = 0;
        const Cost cost = cost_of(
            fault == PinFault::Dib ? "a pin refused its DIB" : "a pin refused its window", [&] {
                HWND window = open_marked_overlay();
                fail_next_pin(fault);
                press_toolbar_button(window, TOOLBAR_PIN);
                kept += kept_with_its_mark(window) && own_windows(PIN_WINDOW_CLASS).size() == 1;
                closed += closes_on_escape(window);
            });
        EXPECT_EQ(kept, WARM_UP + ROUNDS);
        EXPECT_EQ(closed, WARM_UP + ROUNDS);
        expect_nothing_kept(cost);
    }
}
