#include "host/Component.h"
#include <gtest/gtest.h>
