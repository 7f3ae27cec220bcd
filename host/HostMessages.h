// The message codes are the host's as much as ours, so their one definition is a public header.
#pragma once
#include "../include/RVWindow/HostMessages.h"
