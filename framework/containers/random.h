#pragma once

// The shared generator state; the game may store its own seeds here.
extern int kp_random_Seed;

void kp_random_init();
float kp_random_Rnd();
float kp_random_Rnd2(float low, float high);
float kp_random_Rnd3(float range);

int kp_math_Abs(int value);
float kp_math_Abs2(float value);
int kp_math_Max(int a, int b);
float kp_math_Max2(float a, float b);
