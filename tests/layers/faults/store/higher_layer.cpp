// A store file that reaches up into the engine.
#include "calc/salary.h"
#include "store/period.h"
