#pragma once
// Printable controls: labels, data fields, expressions and shapes.

#include "BRControlClasses.h"
#include "BRControlTypes.h"
#include "TBRCustomLabel.h"
#include "TBRDBText.h"
#include "TBRExpr.h"
#include "TBRLabel.h"
#include "TBRShape.h"
