// The topology writers share the attribute tables' owned C stream.
#pragma once

#include "sdts/attributes/c_file.h"
