// The framework stand-in as one include: everything the program's framework code uses.
#pragma once

#include "Object.h"
#include "HandleMap.h"
#include "CString.h"
#include "Exceptions.h"
#include "ResourceModule.h"
#include "Geometry.h"
#include "Position.h"
#include "StringCollections.h"
#include "Menu.h"
#include "ResourceException.h"
#include "GdiObjects.h"
#include "DC.h"
#include "CollectionArrays.h"
#include "CollectionLists.h"
#include "CollectionMaps.h"
#include "NamedMutex.h"
