// The record's layout is shared with hosts, so its one definition is a public header.
#pragma once
#include "../include/RVWindow/ItemRecord.h"
