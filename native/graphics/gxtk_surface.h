#pragma once

#include "runtime/gc.h"

// One image in video memory: the decoded pixels, kept in main memory with
// their colour premultiplied by alpha, and an OpenGL texture made from them.
// The pixels outlive OpenGL contexts, so a re-opened window gets a fresh
// texture at the next Bind.
class gxtkSurface : public Object {
public:
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    int depth = 0;
    int glFormat = 0;
    int contextSeq = -1;
    unsigned int textureId = 0;
    float uScale = 0;
    float vScale = 0;

    ~gxtkSurface() override;

    virtual int Discard();
    virtual int Width();
    virtual int Height();
    virtual bool Loaded();
    virtual void OnUnsafeLoadComplete();

    // Takes ownership of `data` (a block from malloc) and premultiplies it.
    // Touches no OpenGL state, so loading may call it off the main thread.
    void SetData(unsigned char* data, int width, int height, int depth);
    // Writes a w x h block of 0xAARRGGBB pixels at (x, y), `pitch` values
    // apart from row to row. Only RGBA surfaces change; a block that does
    // not lie wholly inside the surface is ignored.
    void SetSubData(int x, int y, int w, int h, const unsigned int* src, int pitch);
    void Bind();

    // Deletes the textures that SetData left behind; main thread only.
    static void DeleteStaleTextures();

private:
    void ReleaseTexture();
    void RetireTexture();
    void ReleasePixels();
    void MakeTexture();
    void AllocateTexture();
    void UploadBlock(int x, int y, int w, int h);
};
