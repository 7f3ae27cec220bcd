// Our suites name the host test kit's pieces without its namespace.
#pragma once
#include "RVHostKit/HostWindow.h"

using namespace RVHostKit;
