#pragma once
// The GLUT calls the renderer makes, and only those, over Win32 and WGL: one double-buffered
// window with a depth buffer, its keyboard and display callbacks, a full-screen switch and a
// main loop that draws whenever a redisplay was asked for. Debian ships no GLUT for MinGW.
// Behaves as GLUT does on Windows: the window size is the client area's, the default reshape
// sets the viewport to the whole window, closing the window ends the process.
#include <windows.h>
// windows.h first: the GL headers need its calling-convention macros.
#include <GL/gl.h>
#include <GL/glu.h>

constexpr unsigned int GLUT_RGB = 0x0000;
constexpr unsigned int GLUT_DOUBLE = 0x0002;
constexpr unsigned int GLUT_DEPTH = 0x0010;
constexpr int GLUT_CURSOR_NONE = 0x0065;

void glutInit(int* argc, char** argv);
void glutInitDisplayMode(unsigned int mode);
void glutInitWindowSize(int width, int height);
void glutInitWindowPosition(int x, int y);
// Returns the window's number, 1; 0 when no window or GL context could be made.
int glutCreateWindow(const char* title);
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));
void glutDisplayFunc(void (*callback)());
void glutSetCursor(int cursor);
void glutFullScreen();
void glutSwapBuffers();
void glutPostRedisplay();
[[noreturn]] void glutMainLoop();
