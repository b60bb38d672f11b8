#include "games/tb_mapset.h"
