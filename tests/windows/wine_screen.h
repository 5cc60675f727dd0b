#pragma once
// What the end-to-end tests under Wine share: waiting for a state while the test's own windows
// are kept painted, the screen as the user sees it, and keys pressed as a user would.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorlane::testing {

// Polls until the condition holds, handling this thread's window messages meanwhile; the limit
// only stops a test whose program hangs.
bool waitFor(const std::function<bool()>& condition,
             std::chrono::seconds limit = std::chrono::seconds(90));

struct Screen {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// The whole screen, read back through GDI.
Screen captureScreen();
// As a BMP file in the test's output folder, to be looked at.
void saveScreen(const Screen& screen, const std::string& folder, const std::string& name);
// The share of the screen whose pixels pass the test.
double share(const Screen& screen, const std::function<bool(int r, int g, int b)>& test);

// The picture's colours, red and blue (the maze's lighting darkens them, never greens them).
bool pictureColour(int r, int g, int b);

void press(WORD key);
// Types the characters (ASCII) one by one.
void type(const std::string& text);
// The pointer moved to a screen point, as a user moves it.
void moveTo(POINT at);
// A left click at a screen point, the pointer moved there first.
void clickAt(POINT at);

// Starts a program with "NAME arguments" as its command line.
bool startProgram(const char* path, const char* arguments, PROCESS_INFORMATION& process);
// Waits for the process to end by itself and gives its exit code (STILL_ACTIVE if it did not).
DWORD waitForExit(const PROCESS_INFORMATION& process);
// Ends a process still running and closes its handles.
void endProcess(PROCESS_INFORMATION& process);

}  // namespace quorlane::testing
