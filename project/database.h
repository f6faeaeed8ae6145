#pragma once
// The database: the project's stock of named resources that stage content refers to by number,
// read once at start-up from ten record files under data\database\ into g_Database. Entry 0 of a
// table stands for "なし" (none) wherever stage content allows no resource.
#include <cstdint>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/database_anime.h"
#include "project/database_effects.h"
#include "project/database_resources.h"
#include "project/load_context.h"

// Owns the tables; registers no field and is never read or written as one record.
class cDatabase : public cDataRecord {
 public:
  cDatabase();
  cDatabase(const cDatabase&) = delete;
  cDatabase& operator=(const cDatabase&) = delete;

  // The tables of a project that has none of its own: one animation set, the animations "なし" and
  // "アクションA", one sword type, two default entries in every other file's table, and empty
  // reversed tables.
  void SetDefaults();

  // Tables 1 to 10 from their files, in table order. On the first file that does not open, or that
  // is damaged, the box "%s のロードに失敗！" names it and the result is 0: the tables before it
  // keep what they read, that one and the later ones what they held. 1 when all ten were read.
  int LoadDatabase();
  // The ten tables to their files; 1 when every file was written. The player never calls it; the
  // sample-project generator and the tests do.
  int SaveDatabase();
  // Entry 0 of the character and screen effects becomes kind 0. A table left without any entry gets
  // a default one first, with a report line, so that entry 0 exists.
  void ResetNoneEffects();
  // Tables 11 and 12 become element-wise copies of tables 6 and 7, the definitions from which the
  // reversed effect templates are built.
  void FillReversedEffects();

  CheckedVector<cAnimeSetDef> m_AnimeSets;
  CheckedVector<cAnimeEntry> m_Animes;
  CheckedVector<cBmpCharaExcDef> m_CharaBitmaps;
  CheckedVector<cSwordTypeDef> m_SwordTypes;
  CheckedVector<cEffectDef> m_Effects;
  CheckedVector<cCharaEffectDef> m_CharaEffects;
  CheckedVector<cScrEffectDef> m_ScrEffects;
  CheckedVector<cPictureDef> m_Pictures;
  CheckedVector<cSoundDef> m_Sounds;
  CheckedVector<cBgmDef> m_Bgms;
  CheckedVector<cCharaEffectDef> m_CharaEffectsReversed;
  CheckedVector<cScrEffectDef> m_ScrEffectsReversed;
};

extern cDatabase g_Database;

// The entry counts of tables 1 to 10, for the range checks of the readers of stage content.
DatabaseSizes DatabaseSizesOf(const cDatabase& database);

// One table file each (path as ProjectPathTable gives it). 1 when the file was read whole; 0 when
// it did not open or was damaged, and then the table is as it was.
int LoadAnimeSetTable(CheckedVector<cAnimeSetDef>& table, const char* path);
int LoadAnimeTable(CheckedVector<cAnimeEntry>& table, const char* path);
int LoadCharaBitmapTable(CheckedVector<cBmpCharaExcDef>& table, const char* path);
int LoadSwordTypeTable(CheckedVector<cSwordTypeDef>& table, const char* path);
int LoadEffectTable(CheckedVector<cEffectDef>& table, const char* path);
int LoadCharaEffectTable(CheckedVector<cCharaEffectDef>& table, const char* path);
int LoadScrEffectTable(CheckedVector<cScrEffectDef>& table, const char* path);
int LoadPictureTable(CheckedVector<cPictureDef>& table, const char* path);
int LoadSoundTable(CheckedVector<cSoundDef>& table, const char* path);
int LoadBgmTable(CheckedVector<cBgmDef>& table, const char* path);
