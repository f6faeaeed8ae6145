// The object containers of stage play, defined together in their order among the long-lived
// objects (see project/globals.cpp): the heroes, then (after the map cells) the characters and the
// items. Destruction runs backward, so characters let go of the heroes they aim at while those
// still exist.
#include "play/chara.h"
#include "play/hero.h"

CheckedVector<cHero> g_Heroes;
cObjectList<cChara> g_CharaList;
cObjectList<cItem> g_ItemList;
