// A rule that includes the screen it serves.
#include "screens/memb_edit.h"
#include "session/memb_edit_rules.h"
