#include "games/tb_gaminfo.h"
