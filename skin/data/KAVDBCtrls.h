#pragma once

// The data-aware skinned controls and the data navigator, in one include.
#include "KAVDataSet.h"
#include "KAVDBChecks.h"
#include "KAVDBEdits.h"
#include "KAVDBNavigator.h"
#include "KAVDBGrid.h"
#include "KAVDBLists.h"
