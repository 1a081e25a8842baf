// Drives kalvorin.exe from outside, through the Win32 API only, the way a
// user would see it: the window and its controls, the boxes of a command,
// the files on disk, the trace on standard output and the exit code.
//
//   gui_driver.exe KALVORIN_EXE GOLDEN_FFT12 SCRATCH_DIR [SHOT_DIR]
//
// SCRATCH_DIR becomes the program's current directory. With SHOT_DIR the
// driver writes SHOT_DIR\box-open (the screen rectangle of the window and
// its open box) while the first question is open and waits for
// SHOT_DIR\shot-done, so that a screenshot can be taken from outside.
//
// Prints one line per check and finally "<passed> passed, <failed> failed";
// exits with 1 when any check failed.
//
// Compiled with -fexec-charset=CP932, like the program: the Japanese
// literals below are the code page 932 bytes that the boxes must hold.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command/messages.h"
#include "window/resource_ids.h"

namespace {

const char kConfirm12[] = "ソースファイル FFT12.cpp を作成します。よろしいですか？";
const char kConfirm20[] = "ソースファイル FFT20.cpp を作成します。よろしいですか？";
const char kConfirm65542[] = "ソースファイル FFT65542.cpp を作成します。よろしいですか？";
const char kConfirmCaption[] = "コードの生成";
const char kOverwrite12[] = "FFT12.cppは存在します。上書きしますか？";
const char kPrime[] = "素数です";
const char kFactors12[] = "2　2　3　";
const char kFactors20[] = "2　2　5　";
// A build without the code page conversion would compare UTF-8 and fail
// every check for the wrong reason.
static_assert(sizeof kFactors12 - 1 == 9, "expectations must be code page 932");

constexpr DWORD kWaitMs = 20000;  // generous: a cold Wine can be slow

int g_passed;
int g_failed;
PROCESS_INFORMATION g_program;

bool check(bool ok, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::printf("%s: ", ok ? "ok  " : "FAIL");
    std::vprintf(format, args);
    std::printf("\n");
    va_end(args);
    std::fflush(stdout);
    (ok ? g_passed : g_failed)++;
    return ok;
}

[[noreturn]] void finish() {
    if (g_program.hProcess && WaitForSingleObject(g_program.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(g_program.hProcess, 99);
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    std::fflush(stdout);
    std::exit(g_failed == 0 ? 0 : 1);
}

// A check that everything after it depends on.
void require(bool ok, const char* what) {
    if (!check(ok, "%s", what)) finish();
}

template <typename Condition>
bool waitFor(Condition condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > kWaitMs) return false;
        Sleep(20);
    }
    return true;
}

// Shows bytes so that a mismatch of code page 932 text is readable in a log.
std::string hex(const std::string& bytes) {
    std::string out;
    char piece[4];
    for (unsigned char c : bytes) {
        std::snprintf(piece, sizeof piece, "%02X ", c);
        out += piece;
    }
    return out;
}

bool checkText(const std::string& actual, const std::string& expected, const char* what) {
    const bool ok = actual == expected;
    if (!ok) std::printf("      got [%s] want [%s]\n", hex(actual).c_str(), hex(expected).c_str());
    return check(ok, "%s", what);
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// WM_GETTEXT rather than GetWindowText: for a window of another process the
// latter does not ask the control and returns nothing for an edit box.
std::string textOf(HWND window) {
    char text[256] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, kWaitMs,
                        &copied);
    return std::string(text, copied);
}

void setText(HWND window, const char* text) {
    DWORD_PTR unused;
    SendMessageTimeoutA(window, WM_SETTEXT, 0, LPARAM(text), SMTO_ABORTIFHUNG, kWaitMs, &unused);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct WindowSearch {
    DWORD processId;
    HWND owner;  // for boxes
    std::vector<HWND> found;
    bool hiddenToo = false;  // boxes still being made are not yet visible
};

BOOL CALLBACK collectMainWindows(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && className(window) == "ModelApp") search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK collectBoxes(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (className(window) == "#32770" && GetWindow(window, GW_OWNER) == search->owner &&
        (search->hiddenToo || IsWindowVisible(window)))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> openBoxes(HWND owner) {
    WindowSearch search{0, owner, {}};
    EnumWindows(collectBoxes, LPARAM(&search));
    return search.found;
}

struct Controls {
    HWND main, lengthEdit, factorsEdit, okButton;
};

struct Box {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

BOOL CALLBACK collectStaticTexts(HWND child, LPARAM param) {
    if (className(child) == "Static") {
        std::string text = textOf(child);
        if (!text.empty()) reinterpret_cast<std::vector<std::string>*>(param)->push_back(text);
    }
    return TRUE;
}

// Waits for the one box that a press of OK opens and reads it.
Box waitForBox(const Controls& c) {
    Box box;
    if (!waitFor([&] { return !openBoxes(c.main).empty(); })) return box;
    box.window = openBoxes(c.main).front();
    box.caption = textOf(box.window);
    std::vector<std::string> texts;
    EnumChildWindows(box.window, collectStaticTexts, LPARAM(&texts));
    if (texts.size() == 1) box.text = texts.front();
    return box;
}

bool buttonShown(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

void answer(const Box& box, int id) {
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(box.window, id)));
}

// Posted messages to one thread arrive in order, so anything posted before
// the answer has been handled by the time the box is gone; a second command
// started by it would still hold the window disabled under a box of its own.
bool commandEnds(const Controls& c, HWND box) {
    return waitFor([&] {
        return !IsWindow(box) && IsWindowEnabled(c.main) && openBoxes(c.main).empty();
    });
}

// commandEnds may see the gap between one box and the next, and it sees the
// last box gone while the program's one thread is still writing the file
// its answer asked for: a look at the files then finds the old file and the
// temporary one beside it, and a read of the old file can even make the
// program's replace fail (Wine refuses to replace a file that anyone holds
// open). A message sent to the program's thread is handled only where it
// waits for messages: in its main loop once the command is over, or in the
// loop of a box, which exists (if not yet shown) by then. So after the round
// trip no box of the program's at all means that the command, its files
// included, ended without another box.
bool commandEndsWithNoFurtherBox(const Controls& c, HWND box) {
    if (!commandEnds(c, box)) return false;
    DWORD_PTR unused;
    if (!SendMessageTimeoutA(c.main, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &unused)) return false;
    WindowSearch search{0, c.main, {}, true};
    EnumWindows(collectBoxes, LPARAM(&search));
    return search.found.empty() && IsWindowEnabled(c.main);
}

void press(const Controls& c, const char* typed) {
    setText(c.lengthEdit, typed);
    PostMessageA(c.okButton, BM_CLICK, 0, 0);
}

RECT rectInParentClient(HWND control, HWND parent) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

Controls startProgram(const char* exe, const std::string& scratch) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const std::string tracePath = scratch + "\\trace.txt";
    HANDLE trace = CreateFileA(tracePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    require(trace != INVALID_HANDLE_VALUE, "trace file created for the program's stdout");

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = trace;
    startup.hStdError = trace;
    std::string commandLine = std::string("\"") + exe + "\"";
    require(CreateProcessA(exe, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, scratch.c_str(),
                           &startup, &g_program),
            "kalvorin.exe started");
    CloseHandle(trace);
    WaitForInputIdle(g_program.hProcess, kWaitMs);

    Controls c = {};
    WindowSearch search{g_program.dwProcessId, nullptr, {}};
    const bool up = waitFor([&] {
        search.found.clear();
        EnumWindows(collectMainWindows, LPARAM(&search));
        if (search.found.size() != 1 || !IsWindowVisible(search.found[0])) return false;
        c.main = search.found[0];
        c.lengthEdit = GetDlgItem(c.main, 100);
        c.factorsEdit = GetDlgItem(c.main, 102);
        c.okButton = GetDlgItem(c.main, 103);
        return c.lengthEdit && c.factorsEdit && c.okButton;
    });
    require(up, "one visible ModelApp window with controls 100, 102 and 103");
    return c;
}

int countPixels(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) count += GetPixel(dc, x, y) == colour;
    return count;
}

// What only the screen shows: the labels, the edit borders and the icon in
// the caption. Reads the main window's pixels, so it runs before any box
// can cover them.
void checkPainting(const Controls& c) {
    RedrawWindow(c.main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    HDC dc = GetDC(c.main);
    struct LabelBand {
        int y;
        const char* name;
    };
    for (const LabelBand& label : {LabelBand{25, "data length"}, LabelBand{120, "factorisation"}}) {
        // The box around the black pixels near the label: the text starts at
        // (180, y), and the glyphs' ink begins within a few pixels of it.
        RECT ink = {LONG_MAX, LONG_MAX, -1, -1};
        int count = 0;
        for (int y = label.y - 20; y < label.y + 22; ++y)  // clear of the edit boxes
            for (int x = 140; x < 400; ++x)
                if (GetPixel(dc, x, y) == black) {
                    ++count;
                    ink = {std::min(ink.left, LONG(x)), std::min(ink.top, LONG(y)), std::max(ink.right, LONG(x + 1)),
                           std::max(ink.bottom, LONG(y + 1))};
                }
        check(count > 20 && ink.left >= 180 && ink.left <= 184 && ink.top >= label.y && ink.top <= label.y + 5 &&
                  ink.bottom <= label.y + 18,
              "%s label drawn in black at (180,%d): ink (%ld,%ld)-(%ld,%ld), %d pixels", label.name, label.y,
              ink.left, ink.top, ink.right, ink.bottom, count);
    }
    for (HWND edit : {c.lengthEdit, c.factorsEdit}) {
        const RECT r = rectInParentClient(edit, c.main);
        check(GetPixel(dc, r.left, r.top) != white && GetPixel(dc, r.right - 1, r.bottom - 1) != white &&
                  GetPixel(dc, r.right - 4, r.bottom - 4) == white,
              "edit box %d has a border around a white field", GetDlgCtrlID(edit));
    }
    ReleaseDC(c.main, dc);

    // The caption's small icon is the class icon; only our picture has
    // pure yellow in it.
    RECT frame;
    GetWindowRect(c.main, &frame);
    HDC screen = GetDC(nullptr);
    const int yellow = countPixels(screen, frame.left, frame.top, frame.left + 24, frame.top + 24, RGB(255, 255, 0));
    ReleaseDC(nullptr, screen);
    check(yellow > 0, "caption shows the program's icon (%d yellow pixels)", yellow);
}

void checkWindow(const Controls& c) {
    checkText(className(c.main), "ModelApp", "window class is ModelApp");
    checkText(textOf(c.main), "Kalvorin for C  Ver.1.0", "title");
    RECT r;
    GetWindowRect(c.main, &r);
    check(r.right - r.left == 500 && r.bottom - r.top == 350, "outer size %ldx%ld is 500x350",
          r.right - r.left, r.bottom - r.top);
    const LONG style = GetWindowLongA(c.main, GWL_STYLE);
    check((style & WS_OVERLAPPEDWINDOW) == WS_OVERLAPPEDWINDOW, "main window style %08lX has WS_OVERLAPPEDWINDOW",
          style);
    // The system adds WS_EX_WINDOWEDGE to every overlapped window itself.
    const LONG exStyle = GetWindowLongA(c.main, GWL_EXSTYLE);
    check((exStyle & ~WS_EX_WINDOWEDGE) == 0, "main window has no extended style of its own (%08lX)", exStyle);
    check(GetDlgItem(c.main, 101) == nullptr, "there is no control 101");

    struct Expected {
        HWND window;
        int id;
        const char* windowClass;
        LONG required, forbidden;
        RECT place;
        const char* text;
    };
    // An edit box takes WS_BORDER out of its style and draws the border
    // itself, so the border is looked for on the screen (checkPainting).
    const LONG kEditForbidden = ES_AUTOHSCROLL | ES_NUMBER | ES_MULTILINE | ES_READONLY;
    const Expected controls[] = {
        {c.lengthEdit, 100, "Edit", WS_CHILD | WS_VISIBLE, kEditForbidden | ES_RIGHT | ES_CENTER,
         {150, 50, 350, 73}, ""},
        {c.factorsEdit, 102, "Edit", WS_CHILD | WS_VISIBLE | ES_RIGHT, kEditForbidden,
         {45, 150, 445, 173}, ""},
        {c.okButton, 103, "Button", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, WS_BORDER,
         {190, 230, 290, 270}, "OK"},
    };
    for (const Expected& e : controls) {
        const LONG s = GetWindowLongA(e.window, GWL_STYLE);
        check(lstrcmpiA(className(e.window).c_str(), e.windowClass) == 0, "control %d is of class %s (%s)", e.id,
              e.windowClass, className(e.window).c_str());
        check(GetDlgCtrlID(e.window) == e.id && GetParent(e.window) == c.main,
              "control %d is a child of the main window with its id", e.id);
        check((s & e.required) == e.required && (s & e.forbidden) == 0, "control %d style %08lX", e.id, s);
        if (e.id == 103) check((s & BS_TYPEMASK) == BS_DEFPUSHBUTTON, "OK is a default push button");
        const RECT p = rectInParentClient(e.window, c.main);
        check(EqualRect(&p, &e.place), "control %d at (%ld,%ld)-(%ld,%ld) in the client area", e.id, p.left,
              p.top, p.right, p.bottom);
        checkText(textOf(e.window), e.text, "control's initial text");
    }

    checkPainting(c);

    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(c.main, nullptr), &gui);
    check(gui.hwndFocus == c.lengthEdit, "keyboard focus is in the length box");

    DWORD_PTR limit = 0;
    SendMessageTimeoutA(c.lengthEdit, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &limit);
    check(limit == 19, "length box takes at most 19 bytes (limit %lu)", (unsigned long)limit);
    // Typed characters, unlike WM_SETTEXT, are held to the limit.
    for (int i = 0; i < 25; ++i) {
        DWORD_PTR unused;
        SendMessageTimeoutA(c.lengthEdit, WM_CHAR, '1', 1, SMTO_ABORTIFHUNG, kWaitMs, &unused);
    }
    check(textOf(c.lengthEdit) == std::string(19, '1'), "typing 25 digits leaves 19 in the length box");
}

void checkIconResource(const char* exe) {
    HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    require(module != nullptr, "kalvorin.exe opened as a resource file");
    const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    HRSRC group = FindResourceExA(module, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */,
                                  MAKEINTRESOURCEA(KALVORIN_ICON_ID), japanese);
    if (check(group != nullptr, "group icon %d in Japanese (1041)", KALVORIN_ICON_ID)) {
        const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
        const WORD count = dir[4] | dir[5] << 8;
        const BYTE* entry = dir + 6;
        check(count == 1, "group holds one image (%u)", count);
        check(entry[0] == 32 && entry[1] == 32 && entry[2] == 16 && (entry[6] | entry[7] << 8) == 4,
              "image is 32x32 with 16 colours at 4 bits (%ux%u, %u colours, %u bits)", entry[0], entry[1],
              entry[2], entry[6] | entry[7] << 8);
        const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(dir), TRUE, 32, 32, 0);
        HRSRC image = FindResourceExA(module, MAKEINTRESOURCEA(3) /* RT_ICON */, MAKEINTRESOURCEA(id), japanese);
        if (check(image != nullptr, "icon image %d present", id)) {
            BYTE* bits = static_cast<BYTE*>(LockResource(LoadResource(module, image)));
            const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bits);
            check(header->biWidth == 32 && header->biHeight == 64 && header->biBitCount == 4,
                  "image header 32x(2*32) at 4 bits");
            HICON icon = CreateIconFromResourceEx(bits, SizeofResource(module, image), TRUE, 0x00030000, 32, 32, 0);
            check(icon != nullptr, "Windows accepts the image as an icon");
            if (icon) DestroyIcon(icon);
        }
    }
    FreeLibrary(module);
}

void signalScreenshot(const char* shotDir, const Controls& c, const Box& box) {
    RECT a, b, u;
    GetWindowRect(c.main, &a);
    GetWindowRect(box.window, &b);
    UnionRect(&u, &a, &b);
    const std::string dir = shotDir;
    DeleteFileA((dir + "\\shot-done").c_str());
    DeleteFileA((dir + "\\box-open").c_str());
    {
        std::ofstream out(dir + "\\box-open.tmp");
        out << u.left << ' ' << u.top << ' ' << u.right - u.left << ' ' << u.bottom - u.top << '\n';
    }
    MoveFileA((dir + "\\box-open.tmp").c_str(), (dir + "\\box-open").c_str());
    check(waitFor([&] { return fileExists(dir + "\\shot-done"); }), "screenshot taken while the box is open");
}

// Twelve, answered Yes with no file present: the whole file is written.
void checkTwelve(const Controls& c, const std::string& scratch, const std::string& golden, const char* shotDir) {
    press(c, "12");
    Box box = waitForBox(c);
    require(box.window != nullptr, "OK on 12 opens a box owned by the main window");
    checkText(box.caption, kConfirmCaption, "confirmation caption");
    checkText(box.text, kConfirm12, "confirmation text");
    check(buttonShown(box.window, IDYES) && buttonShown(box.window, IDNO) && !buttonShown(box.window, IDOK),
          "confirmation has Yes and No buttons only");
    checkText(textOf(c.factorsEdit), kFactors12, "factors shown before the question");
    check(!IsWindowEnabled(c.main), "main window is disabled while the box is open");
    if (shotDir) signalScreenshot(shotDir, c, box);

    PostMessageA(c.okButton, BM_CLICK, 0, 0);  // must start nothing
    answer(box, IDYES);
    check(commandEndsWithNoFurtherBox(c, box.window),
          "Yes ends the command with no further box; the second OK opened none either");
    check(readFile(scratch + "\\FFT12.cpp") == golden, "FFT12.cpp is byte-identical to the golden file");
}

// A prime: a message with an empty caption, the factors left as they were.
void checkPrime(const Controls& c) {
    press(c, "7");
    Box box = waitForBox(c);
    require(box.window != nullptr, "OK on 7 opens a box");
    checkText(box.caption, "", "message caption is empty");
    checkText(box.text, kPrime, "message text");
    check(buttonShown(box.window, IDOK) && !buttonShown(box.window, IDYES) && !buttonShown(box.window, IDNO),
          "message has one OK button");
    check(!IsWindowEnabled(c.main), "main window is disabled while the message is open");
    checkText(textOf(c.factorsEdit), kFactors12, "factors box still shows the factors of 12");
    answer(box, IDOK);
    check(commandEnds(c, box.window), "OK ends the command");
}

void checkNoWritesNothing(const Controls& c, const std::string& scratch) {
    press(c, "20");
    Box box = waitForBox(c);
    require(box.window != nullptr, "OK on 20 opens a box");
    checkText(box.text, kConfirm20, "confirmation names FFT20.cpp");
    checkText(textOf(c.factorsEdit), kFactors20, "factors of 20");
    answer(box, IDNO);
    check(commandEndsWithNoFurtherBox(c, box.window), "No ends the command");
    check(!fileExists(scratch + "\\FFT20.cpp"), "No to the confirmation writes nothing");
}

void checkOverwriteRefused(const Controls& c, const std::string& scratch) {
    const std::string path = scratch + "\\FFT12.cpp";
    { std::ofstream(path, std::ios::binary) << "keep me"; }
    press(c, "12");
    Box confirm = waitForBox(c);
    require(confirm.window != nullptr, "OK on 12 again opens the confirmation");
    answer(confirm, IDYES);
    require(waitFor([&] { return !IsWindow(confirm.window); }), "confirmation closed");
    Box overwrite = waitForBox(c);
    require(overwrite.window != nullptr, "an existing FFT12.cpp brings a second question");
    checkText(overwrite.caption, "", "overwrite caption is empty");
    checkText(overwrite.text, kOverwrite12, "overwrite text");
    answer(overwrite, IDNO);
    check(commandEndsWithNoFurtherBox(c, overwrite.window), "No ends the command");
    check(readFile(path) == "keep me", "No to the overwrite leaves the file as it was");
}

// The names in a directory, sorted, each followed by a space.
std::string listing(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (const auto& name : names) text += name + " ";
    return text;
}

// Yes to the overwrite question: the file is written beside the old one and
// then put in its place, so the old bytes are gone and nothing else is left.
// With `held`, another program reads the old file until a moment after the
// answer, as a virus scanner may (and under Wine, which replaces no file
// that anyone holds open, any reader does): the replace waits for it rather
// than fail.
void checkOverwriteAccepted(const Controls& c, const std::string& scratch, const std::string& golden, bool held) {
    const std::string path = scratch + "\\FFT12.cpp";
    { std::ofstream(path, std::ios::binary) << "keep me"; }
    HANDLE reader = INVALID_HANDLE_VALUE;
    if (held) {
        reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        require(reader != INVALID_HANDLE_VALUE, "the old FFT12.cpp opened for reading");
    }
    press(c, "12");
    Box confirm = waitForBox(c);
    require(confirm.window != nullptr, "OK on 12 once more opens the confirmation");
    answer(confirm, IDYES);
    require(waitFor([&] { return !IsWindow(confirm.window); }), "confirmation closed");
    Box overwrite = waitForBox(c);
    require(overwrite.window != nullptr, "the overwrite question comes again");
    answer(overwrite, IDYES);
    if (held) {
        waitFor([&] { return !IsWindow(overwrite.window); });
        Sleep(200);  // the program reaches its replace step within this, unless very slow
        CloseHandle(reader);
    }
    check(commandEndsWithNoFurtherBox(c, overwrite.window), "Yes to the overwrite ends the command%s",
          held ? " with no failure, the old file read meanwhile" : "");
    check(readFile(path) == golden, "the old FFT12.cpp is replaced by the golden file");
    checkText(listing(scratch), "FFT12.cpp trace.txt ", "no temporary file is left beside it");
}

// A box's icon control is there whatever the box's type; it shows an icon
// only when it holds one.
BOOL CALLBACK findShownIcon(HWND child, LPARAM param) {
    if (className(child) != "Static" || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON ||
        !IsWindowVisible(child))
        return TRUE;
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &icon);
    if (icon) *reinterpret_cast<bool*>(param) = true;
    return TRUE;
}

// 65542 is the smallest length whose classic file overflows a 32-bit long:
// once the file is written, one more box says so.
void checkLongWarning(const Controls& c, const std::string& scratch) {
    press(c, "65542");
    Box confirm = waitForBox(c);
    require(confirm.window != nullptr, "OK on 65542 opens the confirmation");
    checkText(confirm.text, kConfirm65542, "confirmation names FFT65542.cpp");
    answer(confirm, IDYES);
    require(waitFor([&] { return !IsWindow(confirm.window); }), "confirmation closed");
    Box box = waitForBox(c);
    require(box.window != nullptr, "Yes to 65542 brings one more box, owned by the main window");
    check(!readFile(scratch + "\\FFT65542.cpp").empty(), "FFT65542.cpp is written before the box opens");
    checkText(box.caption, "", "long box caption is empty");
    checkText(box.text, msg::kNeeds64BitLong, "long box text");
    check(box.text.find(" long ") != std::string::npos &&
              box.text.find("kalvorin-cli --style=fast") != std::string::npos,
          "long box names the type long and the fast style of kalvorin-cli");
    check(buttonShown(box.window, IDOK) && !buttonShown(box.window, IDYES) && !buttonShown(box.window, IDNO) &&
              !buttonShown(box.window, IDCANCEL),
          "long box has one OK button");
    bool icon = false;
    EnumChildWindows(box.window, findShownIcon, LPARAM(&icon));
    check(!icon, "long box shows no icon");
    check(!IsWindowEnabled(c.main), "main window is disabled while the long box is open");
    answer(box, IDOK);
    check(commandEndsWithNoFurtherBox(c, box.window), "OK ends the command");
}

// The lines "h=%d  l=%d" of the written files (12 has three stages, 65542
// two); on Windows stdout is in text mode, so each ends in CR LF.
void checkTrace(const std::string& scratch) {
    const std::string trace = readFile(scratch + "\\trace.txt");
    std::istringstream lines(trace);
    std::string line;
    int count = 0, bad = 0;
    while (std::getline(lines, line)) {
        int h = -1, l = -1, used = 0;
        const bool ok = std::sscanf(line.c_str(), "h=%d  l=%d\r%n", &h, &l, &used) == 2 &&
                        used == int(line.size()) && 0 <= l && l <= h && h < 3;
        if (!ok && bad++ == 0) std::printf("      bad trace line [%s]\n", hex(line).c_str());
        ++count;
    }
    check(count > 0 && bad == 0 && trace.back() == '\n',
          "stdout redirected to a file gets the trace lines (%d lines, %d malformed)", count, bad);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: gui_driver KALVORIN_EXE GOLDEN_FFT12 SCRATCH_DIR [SHOT_DIR]\n");
        return 2;
    }
    const char* exe = argv[1];
    const std::string golden = readFile(argv[2]);
    const std::string scratch = argv[3];
    const char* shotDir = argc == 5 ? argv[4] : nullptr;

    require(GetACP() == 932, "ANSI code page is 932 (run Wine under a ja_JP locale)");
    require(!golden.empty(), "golden FFT12.cpp read");
    require(!fileExists(scratch + "\\FFT12.cpp"), "scratch directory holds no FFT12.cpp");
    checkIconResource(exe);

    const Controls c = startProgram(exe, scratch);
    checkWindow(c);
    checkTwelve(c, scratch, golden, shotDir);
    checkPrime(c);
    checkNoWritesNothing(c, scratch);
    checkOverwriteRefused(c, scratch);
    checkOverwriteAccepted(c, scratch, golden, false);
    checkOverwriteAccepted(c, scratch, golden, true);
    checkLongWarning(c, scratch);

    PostMessageA(c.main, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    const bool ended = WaitForSingleObject(g_program.hProcess, kWaitMs) == WAIT_OBJECT_0;
    GetExitCodeProcess(g_program.hProcess, &exitCode);
    check(ended && exitCode == 0, "WM_CLOSE ends the program with exit code 0 (%lu)", exitCode);
    if (ended) checkTrace(scratch);
    finish();
}
