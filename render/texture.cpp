#include <GL/gl.h>

#include "render/sprite.h"

bool loadTga(SpriteImage& image, const std::string& path) {
  if (!readTga(image, path)) return false;

  // A second load of the same record replaces its texture instead of leaking the old name.
  if (image.texture != 0) {
    const GLuint old = image.texture;
    glDeleteTextures(1, &old);
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  image.texture = name;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
  // Rows are tightly packed; the default alignment of 4 would read past 24-bit rows whose
  // width is not a multiple of 4.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  const GLenum format = image.bitsPerPixel == 24 ? GL_RGB : GL_RGBA;
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), static_cast<GLsizei>(image.width),
               static_cast<GLsizei>(image.height), 0, format, GL_UNSIGNED_BYTE, image.pixels);
  return true;
}
