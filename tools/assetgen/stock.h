// The stock file: 75 fish records and the nine swims.
#pragma once
#include <string>
#include "lake.h"

namespace ag {
std::string StockFileText(const Lake& lake);
}
