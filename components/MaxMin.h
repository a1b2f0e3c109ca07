// Integer larger and smaller.
#pragma once

// B when B is not smaller than A, else A.
inline int IntMax(int A, int B)
{
    return B >= A ? B : A;
}

// A when A is smaller than B, else B.
inline int IntMin(int A, int B)
{
    return A < B ? A : B;
}
