// Helper functions in the shape of the original platform's utility library: matrices,
// vectors, texture loading from files and font creation.
#pragma once
#include <cstdint>
#include "device.h"

namespace plat {

Matrix* MatrixIdentity(Matrix* out);
Matrix* MatrixMultiply(Matrix* out, const Matrix* a, const Matrix* b);  // out = a x b
Matrix* MatrixScaling(Matrix* out, float sx, float sy, float sz);
Matrix* MatrixTranslation(Matrix* out, float x, float y, float z);
Matrix* MatrixRotationYawPitchRoll(Matrix* out, float yaw, float pitch, float roll);
Matrix* MatrixLookAtLH(Matrix* out, const Vector3* eye, const Vector3* at, const Vector3* up);
Matrix* MatrixPerspectiveFovLH(Matrix* out, float fovY, float aspect, float zNear, float zFar);
Vector3* Vec3Normalize(Vector3* out, const Vector3* v);  // zero vector stays zero
Vector3* Vec3Cross(Vector3* out, const Vector3* a, const Vector3* b);
// Transforms a point (w = 1) by a row-vector matrix; returns (x, y, z) divided by w when w != 0.
Vector3 TransformCoord(const Vector3& v, const Matrix& m);

// Decodes a BMP or TGA file into a power-of-two ARGB image with the loader rules of
// CreateTextureFromFileEx (below). Returns false if the file is missing or unreadable.
// Pure function of the file bytes: used by both backends and by tests. DecodeTextureFile takes a
// filesystem path as it stands (no game-path resolution).
bool DecodeTextureFile(const char* path, uint32_t width, uint32_t height, uint32_t mipLevels,
                       uint32_t filter, uint32_t mipFilter, uint32_t colorKey, TextureImage* out);
bool DecodeTextureMemory(const uint8_t* data, size_t size, uint32_t width, uint32_t height,
                         uint32_t mipLevels, uint32_t filter, uint32_t mipFilter, uint32_t colorKey,
                         TextureImage* out);

// Loads a texture file (path in the game's backslash form, resolved by ResolveGamePath).
// Sizes DEFAULT_VALUE: from the file, rounded up to powers of two. filter FILTER_NONE: the image sits
// unscaled at the top-left of the padded texture, the rest transparent black; DEFAULT_VALUE: scaled
// to fill it. colorKey != 0: texels whose full ARGB equals the key become 0x00000000.
// Sources without alpha read as alpha 0xFF. A missing file leaves *out null and returns FAIL.
HResult CreateTextureFromFileEx(Device* device, const char* path, uint32_t width, uint32_t height,
                                uint32_t mipLevels, uint32_t usage, uint32_t format, Pool pool,
                                uint32_t filter, uint32_t mipFilter, uint32_t colorKey, Texture** out);

// Creates a text font (height = cell height in pixels). Fails if no font file can be opened.
HResult CreateFont(Device* device, int32_t height, uint32_t width, int32_t weight, uint32_t mipLevels,
                   bool italic, uint32_t charSet, uint32_t outputPrecision, uint32_t quality,
                   uint32_t pitchAndFamily, const char* faceName, Font** out);

}  // namespace plat
