// Left-handed, row-vector matrix and vector helpers, in single precision.
#include <cmath>
#include "d3dx.h"

namespace plat {

Matrix* MatrixIdentity(Matrix* out) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out->m[r][c] = (r == c) ? 1.0f : 0.0f;
    return out;
}

Matrix* MatrixMultiply(Matrix* out, const Matrix* a, const Matrix* b) {
    Matrix t;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k) s += a->m[r][k] * b->m[k][c];
            t.m[r][c] = s;
        }
    *out = t;
    return out;
}

Matrix* MatrixScaling(Matrix* out, float sx, float sy, float sz) {
    MatrixIdentity(out);
    out->m[0][0] = sx;
    out->m[1][1] = sy;
    out->m[2][2] = sz;
    return out;
}

Matrix* MatrixTranslation(Matrix* out, float x, float y, float z) {
    MatrixIdentity(out);
    out->m[3][0] = x;
    out->m[3][1] = y;
    out->m[3][2] = z;
    return out;
}

Matrix* MatrixRotationYawPitchRoll(Matrix* out, float yaw, float pitch, float roll) {
    float sr = std::sin(roll), cr = std::cos(roll);
    float sp = std::sin(pitch), cp = std::cos(pitch);
    float sy = std::sin(yaw), cy = std::cos(yaw);
    MatrixIdentity(out);
    out->m[0][0] = sr * sp * sy + cr * cy;
    out->m[0][1] = sr * cp;
    out->m[0][2] = sr * sp * cy - cr * sy;
    out->m[1][0] = cr * sp * sy - sr * cy;
    out->m[1][1] = cr * cp;
    out->m[1][2] = cr * sp * cy + sr * sy;
    out->m[2][0] = cp * sy;
    out->m[2][1] = -sp;
    out->m[2][2] = cp * cy;
    return out;
}

Vector3* Vec3Cross(Vector3* out, const Vector3* a, const Vector3* b) {
    Vector3 t{a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
    *out = t;
    return out;
}

Vector3* Vec3Normalize(Vector3* out, const Vector3* v) {
    float len = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
    if (len == 0.0f) {
        *out = {0.0f, 0.0f, 0.0f};
    } else {
        *out = {v->x / len, v->y / len, v->z / len};
    }
    return out;
}

static float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Matrix* MatrixLookAtLH(Matrix* out, const Vector3* eye, const Vector3* at, const Vector3* up) {
    Vector3 z{at->x - eye->x, at->y - eye->y, at->z - eye->z};
    Vec3Normalize(&z, &z);
    Vector3 x;
    Vec3Cross(&x, up, &z);
    Vec3Normalize(&x, &x);
    Vector3 y;
    Vec3Cross(&y, &z, &x);
    MatrixIdentity(out);
    out->m[0][0] = x.x; out->m[0][1] = y.x; out->m[0][2] = z.x;
    out->m[1][0] = x.y; out->m[1][1] = y.y; out->m[1][2] = z.y;
    out->m[2][0] = x.z; out->m[2][1] = y.z; out->m[2][2] = z.z;
    out->m[3][0] = -Dot(x, *eye);
    out->m[3][1] = -Dot(y, *eye);
    out->m[3][2] = -Dot(z, *eye);
    return out;
}

Matrix* MatrixPerspectiveFovLH(Matrix* out, float fovY, float aspect, float zNear, float zFar) {
    float ys = 1.0f / std::tan(fovY / 2.0f);
    float xs = ys / aspect;
    for (auto& row : out->m)
        for (float& v : row) v = 0.0f;
    out->m[0][0] = xs;
    out->m[1][1] = ys;
    out->m[2][2] = zFar / (zFar - zNear);
    out->m[2][3] = 1.0f;
    out->m[3][2] = -zNear * zFar / (zFar - zNear);
    return out;
}

Vector3 TransformCoord(const Vector3& v, const Matrix& m) {
    float x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0];
    float y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1];
    float z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2];
    float w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + m.m[3][3];
    if (w != 0.0f) return {x / w, y / w, z / w};
    return {x, y, z};
}

}  // namespace plat
