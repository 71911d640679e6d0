/*
 * VNMath4: value types for homogeneous 4-component math: Matrix4 (row-major 4 x 4,
 * vectors as columns), Point4 (a position, w = 1 by default) and Vector4 (a direction,
 * w = 0 by default), with the builders the renderer makes its matrices from.
 * Comparisons accept a difference below 1e-5 per component.
 */
#pragma once

class Vector4
{
public:
  float x, y, z, w;

  Vector4();
  Vector4(float x, float y, float z, float w);

  Vector4 operator-() const;
  Vector4 operator+(const Vector4& rhs) const;
  Vector4 operator-(const Vector4& rhs) const;
  Vector4& operator+=(const Vector4& rhs);
  Vector4& operator-=(const Vector4& rhs);
  Vector4 operator*(float s) const;
  /* Multiplies by 1 / s. */
  Vector4 operator/(float s) const;
  Vector4& operator*=(float s);
  Vector4& operator/=(float s);
  bool operator==(const Vector4& rhs) const;
  bool operator!=(const Vector4& rhs) const;

  /* x, y and z only: w is ignored. */
  float Dot(const Vector4& rhs) const;
  /* Cross product of x, y, z; w of the result is 0. */
  Vector4 Cross(const Vector4& rhs) const;
  /* All four components. */
  float Length() const;
  float LengthSq() const;
  /* Divides all four components by Length; a length below 1e-5 leaves the vector as is. */
  void Normalize();
  void Zero();
  /* "x, y, z, w" with three decimals, on standard output. */
  void Print() const;
};

class Point4
{
public:
  float x, y, z, w;

  Point4();
  Point4(float x, float y, float z, float w);

  /* Negates all four components, w too. */
  Point4 operator-() const;
  Point4 operator+(const Vector4& rhs) const;
  Point4 operator-(const Vector4& rhs) const;
  Vector4 operator-(const Point4& rhs) const;
  Point4& operator+=(const Vector4& rhs);
  Point4& operator-=(const Vector4& rhs);
  bool operator==(const Point4& rhs) const;
  bool operator!=(const Point4& rhs) const;

  /* Back to (0, 0, 0, 1). */
  void Zero();
  /* "x, y, z, w" with three decimals, on standard output. */
  void Print() const;
};

class Matrix4
{
public:
  float m[4][4];

  /* All sixteen elements 0, not the identity. */
  Matrix4();
  /* Elements in row-major order. */
  Matrix4(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13,
          float m20, float m21, float m22, float m23, float m30, float m31, float m32, float m33);

  Point4 operator*(const Point4& rhs) const;
  Vector4 operator*(const Vector4& rhs) const;
  Matrix4 operator+(const Matrix4& rhs) const;
  Matrix4 operator-(const Matrix4& rhs) const;
  Matrix4 operator*(const Matrix4& rhs) const;
  Matrix4& operator+=(const Matrix4& rhs);
  Matrix4& operator-=(const Matrix4& rhs);
  Matrix4& operator*=(const Matrix4& rhs);
  Matrix4 operator*(float s) const;
  /* Multiplies by 1 / s. */
  Matrix4 operator/(float s) const;
  Matrix4& operator*=(float s);
  Matrix4& operator/=(float s);
  bool operator==(const Matrix4& rhs) const;
  bool operator!=(const Matrix4& rhs) const;

  void Zero();
  void Identity();
  /* The rows between two dash lines, on standard output. */
  void Print() const;
};

/* The identity translated by (p.x, p.y, p.z). */
Matrix4 Matrix4Translation(const Point4& p);
/* Normalises a, b and c in place (each left as is below length 1e-5), then returns the
   identity whose upper-left 3 x 3 columns are a, b and c. */
Matrix4 Matrix4FromAxes(Vector4& a, Vector4& b, Vector4& c);
Matrix4 Matrix4Transpose(const Matrix4& mtx);
/* View matrix looking from eye toward target with up as the up direction: the rows
   side, up, forward of the camera, times the translation by -eye. up is normalised but
   not made perpendicular to the forward direction. */
Matrix4 LookAt(const Point4& eye, const Point4& target, const Vector4& up);
