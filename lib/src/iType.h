// Every typed-field kind of the foundation library in one include: the field base
// and collections, scalar, text, variable-length, bit-set, check and combo,
// integer, date, time and decimal fields, records with keys, and the self-storing
// settings store.
#pragma once

#include "iTypeBase.h"
#include "iTypeBitSet.h"
#include "iTypeCollection.h"
#include "iTypeCombo.h"
#include "iTypeDate.h"
#include "iTypeDecimal.h"
#include "iTypeDuration.h"
#include "iTypeInteger.h"
#include "iTypeRecord.h"
#include "iTypeScalar.h"
#include "iTypeStore.h"
#include "iTypeText.h"
#include "iTypeTime.h"
#include "iTypeTimeT.h"
#include "iTypeVarBuf.h"
