#include "games/tb_gambase.h"
