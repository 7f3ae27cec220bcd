#include "platform/ComModule.h"

CComModule g_module;
