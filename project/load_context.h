#pragma once
// What record readers and normalisers consult beyond the record they read: the sizes of the
// database tables, the common palette and the stage's own palette, and the switches that decide
// which flows a load keeps. The program binds it to its global objects at start-up; tests bind it
// to small fixtures.
#include "platform/services/checked.h"

class cBlock;
class cCharaDef;
class cItemDef;
class cSwordTypeDef;

// One palette: the common palette or the palette of the stage being read.
struct PaletteView {
  CheckedVector<cBlock>* blocks = nullptr;
  CheckedVector<cCharaDef>* charas = nullptr;
  CheckedVector<cItemDef>* items = nullptr;
};

// Entry counts of the ten database tables, for the range checks of references into them.
struct DatabaseSizes {
  int animeSets = 0;
  int animes = 0;
  int charaBitmaps = 0;
  int swordTypes = 0;
  int effects = 0;
  int charaEffects = 0;
  int scrEffects = 0;
  int pictures = 0;
  int sounds = 0;
  int musics = 0;
};

struct cLoadContext {
  DatabaseSizes database;
  // The sword types themselves: the length of a "ソード" command's swing is the sum of its parts.
  const CheckedVector<cSwordTypeDef>* swordTypes = nullptr;
  PaletteView commonPalette;
  PaletteView stagePalette;
  bool testPlay = false;         // a stage started by the editing program for a test play
  bool keepMarkedFlows = false;  // the project's KeepMarkedFlows setting
};

// The context every reader consults. One per process, like the globals it mirrors; a test sets
// what it needs and restores the default afterwards.
cLoadContext& LoadContext();
