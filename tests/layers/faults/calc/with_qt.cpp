// An engine file that uses Qt.
#include <QString>
#include <vector>

#include "entry/number_parse.h"
