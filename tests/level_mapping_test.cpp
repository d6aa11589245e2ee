#include "mixer_test.h"
