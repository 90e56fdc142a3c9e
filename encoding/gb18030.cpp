// Written by the boundary work; empty until then.
#include "encoding/gb18030.h"
