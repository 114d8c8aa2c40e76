/* Stands in for freeglut's internal header when its bitmap font data is built for the web page:
   the font record is all that file needs, laid out as freeglut lays it out. The page's text
   (glut_text.cpp) draws the glyphs from it. */
#pragma once

#include <GL/gl.h>

typedef struct tagSFG_Font {
    char* Name;                 /* the source font's name */
    int Quantity;               /* how many characters */
    int Height;                 /* the characters' height in pixels */
    const GLubyte** Characters; /* each: its width, then its rows, bottom row first */
    float xorig, yorig;         /* the origin within a character */
} SFG_Font;
