/* The least full-screen GL program: a GLUT window that clears and swaps, frame after frame.
 * bench/start_and_memory.sh starts it as a show's renderer is started and holds the show's
 * launch time and resident memory against its own: what any GL screensaver pays anyway. */
#include <GL/freeglut.h>

static void display(void) {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    glutPostRedisplay();
}

static void key(unsigned char k, int x, int y) {
    (void)x;
    (void)y;
    if (k == 27) glutLeaveMainLoop();
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    glutInitWindowPosition(0, 0);
    glutCreateWindow("clear loop");
    glutKeyboardFunc(key);
    glutDisplayFunc(display);
    glutFullScreen();
    glutMainLoop();
    return 0;
}
