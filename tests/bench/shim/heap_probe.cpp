// Run under the heap witness by its test: holds a known amount of memory of
// its own, some of it asked for through the C runtime, frees more than it
// keeps, makes a GL library allocate on its own account, and names GL
// objects. With no context current the GL calls do nothing; the witness
// counts the names all the same.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

const size_t MB = 1 << 20;

int main()
{
    static void* volatile kept[8];
    kept[0] = malloc(MB);
    kept[1] = new char[MB];
    kept[2] = new std::vector<char>(MB);
    void* grown = malloc(100);
    kept[3] = realloc(grown, MB);
    kept[4] = strdup("the runtime allocates this on the program's behalf");
    kept[5] = fopen("/proc/self/status", "r");
    for (int i = 0; i < 10; i++)
        free(malloc(MB));
    delete[] new char[MB];
    // The library's own blocks, about 1 MB, are not the program's.
    for (int i = 0; i < 20000; i++)
        gluNewQuadric();
    for (GLuint list = 5; list < 10; list++) {
        glNewList(list, GL_COMPILE);
        glEndList();
    }
    glNewList(5, GL_COMPILE); // compiled again: still one list
    glEndList();
    glDeleteLists(5, 2);
    GLuint named[3] = {7, 8, 9};
    glBindTexture(GL_TEXTURE_2D, 7);
    glBindTexture(GL_TEXTURE_2D, 7);
    glBindTexture(GL_TEXTURE_2D, 8);
    glBindTexture(GL_TEXTURE_2D, 9);
    glDeleteTextures(1, named);
    puts("probe done");
    return kept[0] ? 0 : 1;
}
