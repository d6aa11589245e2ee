// Whole percentages to and from decibel levels, on a logarithmic scale anchored
// at the top of a control's range: 100 % is the maximum, 10 % is 20 dB below
// it, 1 % is 40 dB below it; 0 % alone means the range minimum.
//
// Every step runs at a stated precision (see the definitions), so the results
// are the same bits on every target. Builds for 32-bit x86 must use SSE
// arithmetic, or x87 extended precision would change truncated percentages.
#pragma once

float PercentToDecibels(int percent, float minimum, float maximum);
int DecibelsToPercent(float level, float maximum);

// A double's nearest float, infinities beyond the float range, as IEEE
// conversion gives them (a plain conversion out of range is undefined in C++).
float NearestFloat(double value);

// Truncation toward zero to a 32-bit integer; not-a-number gives 0 and values
// beyond the range saturate.
int TruncateToInt(float value);
