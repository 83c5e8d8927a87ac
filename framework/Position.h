// Stands in for the framework's collection position: an opaque handle on one
// element of a list or map, null past either end. Callers only copy it, compare
// it with null and hand it back to the collection that gave it out.
#pragma once

struct PositionTag;
typedef PositionTag* POSITION;
