#include "UntQuorvel.h"
