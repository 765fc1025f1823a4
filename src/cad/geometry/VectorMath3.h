#pragma once

// Scalar and 3-component helpers shared by the 2D code and the 3D view.

struct TVector3 {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

TVector3 Vector3Add(TVector3 a, TVector3 b);
TVector3 Vector3Subtract(TVector3 a, TVector3 b);
TVector3 Vector3Scale(TVector3 v, float factor);
float Vector3Length(TVector3 v);
float Vector3Distance(TVector3 a, TVector3 b);

long double DegToRadExtended(long double degrees);
long double RadToDegExtended(long double radians);
float DegToRadSingle(float degrees);
float RadToDegSingle(float radians);
long double ArcTangent2Extended(long double y, long double x);
float ArcTangent2Single(float y, float x);
// Nearest integer, halves to even.
int RoundSingle(float value);
