#include "engine/tb_gamemap.h"
