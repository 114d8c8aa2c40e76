// The page's bitmap text: GLUT's Helvetica 12, drawn glyph by glyph from freeglut's font data
// built for the page.
#include "web/fg_internal.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

extern "C" {
extern SFG_Font fgFontHelvetica12;
}

void* glutBitmapHelvetica12 = nullptr; // only its address matters: it names the font

void glutBitmapCharacter(void* font, int character) {
    if (font != GLUT_BITMAP_HELVETICA_12 || character < 1 || character >= 256) {
        return;
    }
    const SFG_Font& face = fgFontHelvetica12;
    const GLubyte* glyph = face.Characters[character];
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBitmap(glyph[0], face.Height, face.xorig, face.yorig, static_cast<float>(glyph[0]), 0.0f,
             glyph + 1);
    glPopClientAttrib();
}
