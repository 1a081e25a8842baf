// The Windows shell: the window class, the main window with its three
// controls and two painted labels, the message loop, and the binding of
// UserDialogs to message boxes. This is the only file of the window program
// that sees Windows.
//
// Compiled with -fexec-charset=CP932: the ANSI functions below take every
// literal as code page 932 bytes.
#include <windows.h>

#include <cstdint>

#include "command/generate_command.h"
#include "command/messages.h"
#include "command/user_dialogs.h"
#include "resource_ids.h"

namespace {

constexpr int kLengthEditId = 100;
constexpr int kFactorsEditId = 102;
constexpr int kOkButtonId = 103;

const char kClassName[] = "ModelApp";
const char kTitle[] = "Kalvorin for C  Ver.1.0";

const char kLengthLabel[] = "データ長の入力";
const char kFactorsLabel[] = "素因数分解の結果";
// Catches a build that lost the code page conversion: in UTF-8 these
// would be 21 and 24 bytes and the labels would draw as mojibake.
static_assert(sizeof kLengthLabel - 1 == 14, "label must be code page 932");
static_assert(sizeof kFactorsLabel - 1 == 16, "label must be code page 932");

struct ControlLayout {
    const char* windowClass;
    const char* text;
    DWORD style;
    int x, y, width, height;
    int id;
};

const ControlLayout kControls[] = {
    {"EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 150, 50, 200, 23, kLengthEditId},
    {"EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_RIGHT, 45, 150, 400, 23, kFactorsEditId},
    {"BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 190, 230, 100, 40, kOkButtonId},
};

struct Label {
    const char* text;
    int length;
    int x, y;
};

const Label kLabels[] = {
    {kLengthLabel, int(sizeof kLengthLabel - 1), 180, 25},
    {kFactorsLabel, int(sizeof kFactorsLabel - 1), 180, 120},
};

HWND g_lengthEdit;
HWND g_factorsEdit;
// Owned message boxes disable the window against the user, but a BM_CLICK
// sent by another program still reaches the button; the command is not
// re-entrant, so such a press is dropped here.
bool g_commandRunning;

class WindowDialogs : public UserDialogs {
public:
    WindowDialogs(HWND owner, HWND factorsEdit) : owner_(owner), factorsEdit_(factorsEdit) {}

    void showMessage(const char* text, const char* caption) override {
        MessageBoxA(owner_, text, orEmpty(caption), MB_OK);
    }

    bool askYesNo(const char* text, const char* caption) override {
        return MessageBoxA(owner_, text, orEmpty(caption), MB_YESNO) != IDNO;
    }

    void showFactors(const char* text) override { SetWindowTextA(factorsEdit_, text); }

private:
    // A null caption would give the box the system's default title.
    static const char* orEmpty(const char* caption) { return caption ? caption : ""; }

    HWND owner_;
    HWND factorsEdit_;
};

void createControls(HWND window, HINSTANCE instance) {
    for (const ControlLayout& c : kControls) {
        HWND control = CreateWindowExA(0, c.windowClass, c.text, c.style, c.x, c.y, c.width,
                                       c.height, window, HMENU(INT_PTR(c.id)), instance, nullptr);
        if (c.id == kLengthEditId) g_lengthEdit = control;
        if (c.id == kFactorsEditId) g_factorsEdit = control;
    }
    // The command reads at most kLengthFieldSize - 1 bytes; refusing more at
    // the keyboard means nothing typed is ever silently dropped.
    SendMessageA(g_lengthEdit, EM_LIMITTEXT, kLengthFieldSize - 1, 0);
}

void paintLabels(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    SetTextColor(dc, RGB(0, 0, 0));
    for (const Label& label : kLabels) TextOutA(dc, label.x, label.y, label.text, label.length);
    EndPaint(window, &ps);
}

void runCommand(HWND window) {
    if (g_commandRunning) return;
    g_commandRunning = true;
    char lengthText[kLengthFieldSize] = {};
    GetWindowTextA(g_lengthEdit, lengthText, kLengthFieldSize);
    WindowDialogs dialogs(window, g_factorsEdit);
    // The window writes the classic file, whose index arithmetic is in long:
    // 32 bits with every Windows compiler. The file stays as it is, but the
    // user must hear that it is wrong there before compiling it.
    // The trace goes to standard output, which only a redirection makes
    // visible, as it always has.
    const GenerateResult result = onGenerate(lengthText, dialogs, FileFormat{}, standardOutputTrace());
    if (result.written() && result.largestTwiddleIndex > INT32_MAX) dialogs.showMessage(msg::kNeeds64BitLong, "");
    g_commandRunning = false;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls(window, reinterpret_cast<const CREATESTRUCTA*>(lParam)->hInstance);
        SetFocus(g_lengthEdit);
        return 0;
    case WM_PAINT:
        paintLabels(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kOkButtonId) runCommand(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(KALVORIN_ICON_ID));
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(KALVORIN_ICON_ID));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc)) return 1;

    HWND window = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 500, 350, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return int(msg.wParam);
}
