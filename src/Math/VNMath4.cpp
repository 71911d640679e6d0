/*
 * VNMath4: Matrix4, Point4 and Vector4, the homogeneous 4-component value types the
 * renderer builds its projection and view matrices with.
 */
#include "Math/VNMath4.h"

#include <math.h>
#include <stdio.h>

static const float kEpsilon = 1e-5f;

/* True when a and b differ by less than the tolerance. The difference is taken as the
   larger minus the smaller, so a NaN on either side compares unequal. */
static bool Near(float a, float b)
{
  float difference = (a > b) ? a - b : b - a;
  return difference < kEpsilon;
}

static bool Near4(float ax, float ay, float az, float aw, float bx, float by, float bz, float bw)
{
  return Near(ax, bx) && Near(ay, by) && Near(az, bz) && Near(aw, bw);
}

static void PrintComponents(float x, float y, float z, float w)
{
  printf("%5.3f, %5.3f, %5.3f, %5.3f\n", x, y, z, w);
}

/* ---- Vector4 ---------------------------------------------------------------------- */

Vector4::Vector4() : x(0.0f), y(0.0f), z(0.0f), w(0.0f) {}

Vector4::Vector4(float x, float y, float z, float w) : x(x), y(y), z(z), w(w) {}

Vector4 Vector4::operator-() const
{
  return Vector4(-x, -y, -z, -w);
}

Vector4 Vector4::operator+(const Vector4& rhs) const
{
  return Vector4(x + rhs.x, y + rhs.y, z + rhs.z, w + rhs.w);
}

Vector4 Vector4::operator-(const Vector4& rhs) const
{
  return Vector4(x - rhs.x, y - rhs.y, z - rhs.z, w - rhs.w);
}

Vector4& Vector4::operator+=(const Vector4& rhs)
{
  *this = *this + rhs;
  return *this;
}

Vector4& Vector4::operator-=(const Vector4& rhs)
{
  *this = *this - rhs;
  return *this;
}

Vector4 Vector4::operator*(float s) const
{
  return Vector4(x * s, y * s, z * s, w * s);
}

Vector4 Vector4::operator/(float s) const
{
  return *this * (1.0f / s);
}

Vector4& Vector4::operator*=(float s)
{
  *this = *this * s;
  return *this;
}

Vector4& Vector4::operator/=(float s)
{
  *this = *this / s;
  return *this;
}

bool Vector4::operator==(const Vector4& rhs) const
{
  return Near4(x, y, z, w, rhs.x, rhs.y, rhs.z, rhs.w);
}

bool Vector4::operator!=(const Vector4& rhs) const
{
  return !(*this == rhs);
}

float Vector4::Dot(const Vector4& rhs) const
{
  return x * rhs.x + y * rhs.y + z * rhs.z;
}

Vector4 Vector4::Cross(const Vector4& rhs) const
{
  return Vector4(y * rhs.z - z * rhs.y, z * rhs.x - x * rhs.z, x * rhs.y - y * rhs.x, 0.0f);
}

float Vector4::Length() const
{
  return (float)sqrt((double)LengthSq());
}

float Vector4::LengthSq() const
{
  return x * x + y * y + z * z + w * w;
}

void Vector4::Normalize()
{
  float length = Length();
  if (length > -kEpsilon && length < kEpsilon)
    return;
  *this /= length;
}

void Vector4::Zero()
{
  *this = Vector4();
}

void Vector4::Print() const
{
  PrintComponents(x, y, z, w);
}

/* ---- Point4 ----------------------------------------------------------------------- */

Point4::Point4() : x(0.0f), y(0.0f), z(0.0f), w(1.0f) {}

Point4::Point4(float x, float y, float z, float w) : x(x), y(y), z(z), w(w) {}

Point4 Point4::operator-() const
{
  return Point4(-x, -y, -z, -w);
}

Point4 Point4::operator+(const Vector4& rhs) const
{
  return Point4(x + rhs.x, y + rhs.y, z + rhs.z, w + rhs.w);
}

Point4 Point4::operator-(const Vector4& rhs) const
{
  return Point4(x - rhs.x, y - rhs.y, z - rhs.z, w - rhs.w);
}

Vector4 Point4::operator-(const Point4& rhs) const
{
  return Vector4(x - rhs.x, y - rhs.y, z - rhs.z, w - rhs.w);
}

Point4& Point4::operator+=(const Vector4& rhs)
{
  *this = *this + rhs;
  return *this;
}

Point4& Point4::operator-=(const Vector4& rhs)
{
  *this = *this - rhs;
  return *this;
}

bool Point4::operator==(const Point4& rhs) const
{
  return Near4(x, y, z, w, rhs.x, rhs.y, rhs.z, rhs.w);
}

bool Point4::operator!=(const Point4& rhs) const
{
  return !(*this == rhs);
}

void Point4::Zero()
{
  *this = Point4();
}

void Point4::Print() const
{
  PrintComponents(x, y, z, w);
}

/* ---- Matrix4 ---------------------------------------------------------------------- */

Matrix4::Matrix4()
{
  Zero();
}

Matrix4::Matrix4(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
                 float m13, float m20, float m21, float m22, float m23, float m30, float m31,
                 float m32, float m33)
    : m{{m00, m01, m02, m03}, {m10, m11, m12, m13}, {m20, m21, m22, m23}, {m30, m31, m32, m33}}
{
}

Point4 Matrix4::operator*(const Point4& rhs) const
{
  const float v[4] = {rhs.x, rhs.y, rhs.z, rhs.w};
  float r[4];
  for (int row = 0; row < 4; ++row)
    r[row] = m[row][0] * v[0] + m[row][1] * v[1] + m[row][2] * v[2] + m[row][3] * v[3];
  return Point4(r[0], r[1], r[2], r[3]);
}

Vector4 Matrix4::operator*(const Vector4& rhs) const
{
  Point4 product = *this * Point4(rhs.x, rhs.y, rhs.z, rhs.w);
  return Vector4(product.x, product.y, product.z, product.w);
}

Matrix4 Matrix4::operator+(const Matrix4& rhs) const
{
  Matrix4 sum;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      sum.m[row][col] = m[row][col] + rhs.m[row][col];
  return sum;
}

Matrix4 Matrix4::operator-(const Matrix4& rhs) const
{
  Matrix4 difference;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      difference.m[row][col] = m[row][col] - rhs.m[row][col];
  return difference;
}

Matrix4 Matrix4::operator*(const Matrix4& rhs) const
{
  Matrix4 product;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      product.m[row][col] = m[row][0] * rhs.m[0][col] + m[row][1] * rhs.m[1][col] +
                            m[row][2] * rhs.m[2][col] + m[row][3] * rhs.m[3][col];
  return product;
}

Matrix4& Matrix4::operator+=(const Matrix4& rhs)
{
  *this = *this + rhs;
  return *this;
}

Matrix4& Matrix4::operator-=(const Matrix4& rhs)
{
  *this = *this - rhs;
  return *this;
}

Matrix4& Matrix4::operator*=(const Matrix4& rhs)
{
  *this = *this * rhs;
  return *this;
}

Matrix4 Matrix4::operator*(float s) const
{
  Matrix4 scaled;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      scaled.m[row][col] = m[row][col] * s;
  return scaled;
}

Matrix4 Matrix4::operator/(float s) const
{
  return *this * (1.0f / s);
}

Matrix4& Matrix4::operator*=(float s)
{
  *this = *this * s;
  return *this;
}

Matrix4& Matrix4::operator/=(float s)
{
  *this = *this / s;
  return *this;
}

bool Matrix4::operator==(const Matrix4& rhs) const
{
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      if (!Near(m[row][col], rhs.m[row][col]))
        return false;
  return true;
}

bool Matrix4::operator!=(const Matrix4& rhs) const
{
  return !(*this == rhs);
}

void Matrix4::Zero()
{
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      m[row][col] = 0.0f;
}

void Matrix4::Identity()
{
  Zero();
  for (int i = 0; i < 4; ++i)
    m[i][i] = 1.0f;
}

void Matrix4::Print() const
{
  printf("--------------------------\n");
  for (int row = 0; row < 4; ++row)
    printf("%5.3f %5.3f %5.3f %5.3f\n", m[row][0], m[row][1], m[row][2], m[row][3]);
  printf("--------------------------\n");
}

/* ---- Builders --------------------------------------------------------------------- */

Matrix4 Matrix4Translation(const Point4& p)
{
  Matrix4 result;
  result.Identity();
  result.m[0][3] = p.x;
  result.m[1][3] = p.y;
  result.m[2][3] = p.z;
  return result;
}

Matrix4 Matrix4FromAxes(Vector4& a, Vector4& b, Vector4& c)
{
  a.Normalize();
  b.Normalize();
  c.Normalize();
  Matrix4 result;
  result.Identity();
  const Vector4* axes[3] = {&a, &b, &c};
  for (int col = 0; col < 3; ++col)
  {
    result.m[0][col] = axes[col]->x;
    result.m[1][col] = axes[col]->y;
    result.m[2][col] = axes[col]->z;
  }
  return result;
}

Matrix4 Matrix4Transpose(const Matrix4& mtx)
{
  Matrix4 result;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      result.m[row][col] = mtx.m[col][row];
  return result;
}

Matrix4 LookAt(const Point4& eye, const Point4& target, const Vector4& up)
{
  Vector4 forward = eye - target;
  forward.Normalize();
  Vector4 upward = up;
  upward.Normalize();
  Vector4 side = upward.Cross(forward);
  side.Normalize();

  Matrix4 rotation;
  rotation.Identity();
  const Vector4* rows[3] = {&side, &upward, &forward};
  for (int row = 0; row < 3; ++row)
  {
    rotation.m[row][0] = rows[row]->x;
    rotation.m[row][1] = rows[row]->y;
    rotation.m[row][2] = rows[row]->z;
  }
  return rotation * Matrix4Translation(Point4(-eye.x, -eye.y, -eye.z, 1.0f));
}
