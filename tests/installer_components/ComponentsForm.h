// The one form the component tests put their controls on, shown once.
#pragma once

#include "classlib/Forms.h"

TForm* ComponentsForm();
