// Matrix4, Point4 and Vector4: defaults, typed arithmetic, tolerance, builders, printing.
#include "CapturedOutput.h"
#include "Vorn.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string>

namespace
{

const float kTol = 1e-5f;

void ExpectComponents(float x, float y, float z, float w, const Vector4& v)
{
  EXPECT_NEAR(x, v.x, kTol);
  EXPECT_NEAR(y, v.y, kTol);
  EXPECT_NEAR(z, v.z, kTol);
  EXPECT_NEAR(w, v.w, kTol);
}

void ExpectComponents(float x, float y, float z, float w, const Point4& p)
{
  ExpectComponents(x, y, z, w, Vector4(p.x, p.y, p.z, p.w));
}

Matrix4 Counting()
{
  return Matrix4(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
}

template <typename T> std::string Printed(const T& what)
{
  return StdoutOf([&] { what.Print(); });
}

} // namespace

TEST(Math4, DefaultsDifferByType)
{
  // A point is a position (w 1), a vector a direction (w 0), even after Zero.
  ExpectComponents(0, 0, 0, 1, Point4());
  ExpectComponents(0, 0, 0, 0, Vector4());
  EXPECT_TRUE(Matrix4() == Matrix4(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));

  Point4 p(4, 5, 6, 7);
  p.Zero();
  ExpectComponents(0, 0, 0, 1, p);
  Vector4 v(4, 5, 6, 7);
  v.Zero();
  ExpectComponents(0, 0, 0, 0, v);
}

TEST(Math4, PointAndVectorArithmeticUseAllFourComponents)
{
  Vector4 d = Point4(1, 2, 3, 1) - Point4(1, 1, 1, 1);
  ExpectComponents(0, 1, 2, 0, d);

  Point4 p = Point4(1, 2, 3, 1) + Vector4(10, 20, 30, 0);
  ExpectComponents(11, 22, 33, 1, p);
  p -= Vector4(1, 2, 3, 0);
  ExpectComponents(10, 20, 30, 1, p);
  ExpectComponents(-10, -20, -30, -1, -p);

  Vector4 v(1, 2, 3, 4);
  v *= 2.0f;
  ExpectComponents(2, 4, 6, 8, v);
  v /= 4.0f;
  ExpectComponents(0.5f, 1, 1.5f, 2, v);
  ExpectComponents(-0.5f, -1, -1.5f, -2, -v);
}

TEST(Math4, EqualityToleranceIsStrictAndCoversEveryElement)
{
  for (int index = 0; index < 16; index += 15)
  {
    Matrix4 a, b, c;
    b.m[index / 4][index % 4] = 0.00002f;
    c.m[index / 4][index % 4] = 0.000005f;
    EXPECT_FALSE(a == b) << "element " << index;
    EXPECT_TRUE(a != b) << "element " << index;
    EXPECT_TRUE(a == c) << "element " << index;
    EXPECT_FALSE(a != c) << "element " << index;
  }

  EXPECT_TRUE(Vector4(1, 2, 3, 0) == Vector4(1, 2, 3, 0.000005f));
  EXPECT_TRUE(Vector4(1, 2, 3, 0) != Vector4(1, 2, 3, 0.00002f));
  EXPECT_TRUE(Point4(1, 2, 3, 1) != Point4(1, 2, 3, 1.00002f));
  EXPECT_TRUE(Point4(1, 2, 3, 1) != Point4(NAN, 2, 3, 1));
}

TEST(Math4, LengthsUseFourComponentsButDotUsesThree)
{
  Vector4 v(1, 0, 0, 5);
  EXPECT_FLOAT_EQ(1.0f, v.Dot(v));
  EXPECT_FLOAT_EQ(26.0f, v.LengthSq());
  EXPECT_FLOAT_EQ(5.0f, Vector4(0, 3, 0, 4).Length());

  Vector4 n(3, 4, 0, 0);
  n.Normalize();
  ExpectComponents(0.6f, 0.8f, 0, 0, n);

  Vector4 w(0, 0, 0, 2);
  w.Normalize();
  ExpectComponents(0, 0, 0, 1, w);

  Vector4 tiny(1e-6f, 0, 0, 0);
  tiny.Normalize();
  EXPECT_EQ(1e-6f, tiny.x);

  ExpectComponents(0, 0, 1, 0, Vector4(1, 0, 0, 7).Cross(Vector4(0, 1, 0, 9)));
  ExpectComponents(-3, 6, -3, 0, Vector4(1, 2, 3, 0).Cross(Vector4(4, 5, 6, 0)));
}

TEST(Math4, ProductsAreRowByColumn)
{
  Matrix4 a = Counting();
  Matrix4 b = Matrix4Transpose(a);
  Matrix4 ab = a * b;
  // Row 0 of a dotted with row 0 of a, and row 0 with row 3.
  EXPECT_FLOAT_EQ(30.0f, ab.m[0][0]);
  EXPECT_FLOAT_EQ(150.0f, ab.m[0][3]);
  EXPECT_FLOAT_EQ(13.0f, b.m[0][3]);
  EXPECT_TRUE(a * b != b * a);

  Matrix4 squared = a;
  squared *= squared;
  EXPECT_TRUE(squared == a * a);
  EXPECT_FLOAT_EQ(90.0f, squared.m[0][0]);

  Point4 p = a * Point4(1, 0, 0, 1);
  ExpectComponents(5, 13, 21, 29, p);
  Vector4 v = a * Vector4(1, 0, 0, 0);
  ExpectComponents(1, 5, 9, 13, v);

  Matrix4 sum = a + b;
  sum -= b;
  EXPECT_TRUE(sum == a);
  sum += a;
  EXPECT_TRUE(sum == a * 2.0f);
  EXPECT_TRUE(sum / 2.0f == a);
  sum /= 4.0f;
  sum *= 2.0f;
  EXPECT_TRUE(sum == a);
}

TEST(Math4, TranslationMovesPointsButNotVectors)
{
  Matrix4 t = Matrix4Translation(Point4(10, 20, 30, 1));
  ExpectComponents(11, 21, 31, 1, t * Point4(1, 1, 1, 1));
  ExpectComponents(1, 1, 1, 0, t * Vector4(1, 1, 1, 0));
}

TEST(Math4, FromAxesNormalisesItsArgumentsIntoColumns)
{
  Vector4 a(2, 0, 0, 0), b(0, 0, 3, 0), c(0, 0.5f, 0, 0);
  Matrix4 m = Matrix4FromAxes(a, b, c);
  ExpectComponents(1, 0, 0, 0, a);
  ExpectComponents(0, 0, 1, 0, b);
  EXPECT_TRUE(m == Matrix4(1, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1));
}

TEST(Math4, LookAtPutsTheEyeAtTheOriginFacingMinusZ)
{
  // Looking down -z, the view is only a translation.
  Matrix4 down = LookAt(Point4(100, 50, 60, 1), Point4(100, 50, 0, 1), Vector4(0, 1, 0, 0));
  EXPECT_TRUE(down == Matrix4Translation(Point4(-100, -50, -60, 1)));

  Point4 eye(10, 2, 0, 1), target(0, 2, 0, 1);
  Matrix4 view = LookAt(eye, target, Vector4(0, 5, 0, 0));
  ExpectComponents(0, 0, 0, 1, view * eye);
  ExpectComponents(0, 0, -10, 1, view * target);
  // Up stays up, and the side axis is to the right of the view direction.
  ExpectComponents(0, 1, 0, 0, view * Vector4(0, 1, 0, 0));
  ExpectComponents(1, 0, 0, 0, view * Vector4(0, 0, -1, 0));
}

TEST(Math4, PrintFormats)
{
  Matrix4 identity;
  identity.Identity();
  EXPECT_EQ("--------------------------\n"
            "1.000 0.000 0.000 0.000\n"
            "0.000 1.000 0.000 0.000\n"
            "0.000 0.000 1.000 0.000\n"
            "0.000 0.000 0.000 1.000\n"
            "--------------------------\n",
            Printed(identity));

  EXPECT_EQ("1.500, -2.250, 100.000, 1.000\n", Printed(Point4(1.5f, -2.25f, 100, 1)));
  EXPECT_EQ("0.000, 12345.500, -0.001, 0.000\n", Printed(Vector4(0.0004f, 12345.5f, -0.0006f, 0)));
}
