// GL test window and pixel read-back.
#include "tests/gl/gl_fixture.h"

#include <vector>

#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

static bool glutReady = false;

int OpenTestWindow(int width, int height, const char* title)
{
    if (!glutReady) {
        int argc = 1;
        char name[] = "gl_tests";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
        glutReady = true;
    }
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(width, height);
    int id = glutCreateWindow(title);
    // Callbacks the toolkit insists on; the tests draw by hand.
    glutDisplayFunc([] {});
    PumpEvents();
    glViewport(0, 0, width, height);
    glReadBuffer(GL_BACK);
    glDrawBuffer(GL_BACK);
    return id;
}

void PumpEvents(int rounds)
{
    for (int i = 0; i < rounds; i++)
        glutMainLoopEvent();
}

Rgb ReadPixel(int x, int y)
{
    glFinish();
    unsigned char p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

int CountPixels(int x0, int y0, int width, int height, Rgb want, int tolerance)
{
    glFinish();
    std::vector<unsigned char> p((size_t)width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, y0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    int count = 0;
    for (size_t i = 0; i < p.size(); i += 4)
        if (Near({p[i], p[i + 1], p[i + 2]}, want, tolerance))
            count++;
    return count;
}

void GlTest::SetUp()
{
    window = OpenTestWindow(640, 480);
    windowWidth = 640;
    windowHeight = 480;
    SetupFixedState();
}
