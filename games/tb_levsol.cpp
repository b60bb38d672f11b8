#include "games/tb_levsol.h"
