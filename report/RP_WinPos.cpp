#include "report/RP_WinPos.h"
