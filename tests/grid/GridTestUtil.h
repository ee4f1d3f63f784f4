// Shared by the grid tests: readable QString output in failure messages.
#pragma once

#include <QString>
#include <ostream>
#include "TestText.h"

