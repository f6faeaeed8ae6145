#include "project/database.h"

#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"
#include "project/database_checks.h"
#include "project/project_paths.h"
#include "project/record_table.h"

namespace {

// The ten table files in loading order: the ProjectPathTable row, the loader and the writer.
struct sTableFile {
  int pathRow;
  int (*load)(cDatabase& database, const char* path);
  int (*save)(cDatabase& database, const char* path);
};

const sTableFile kTableFiles[] = {
    {kPathAnimeSet, [](cDatabase& db, const char* path) { return LoadAnimeSetTable(db.m_AnimeSets, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_AnimeSets, path); }},
    {kPathAnime, [](cDatabase& db, const char* path) { return LoadAnimeTable(db.m_Animes, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_Animes, path); }},
    {kPathCharaBitmaps, [](cDatabase& db, const char* path) { return LoadCharaBitmapTable(db.m_CharaBitmaps, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_CharaBitmaps, path); }},
    {kPathSwordType, [](cDatabase& db, const char* path) { return LoadSwordTypeTable(db.m_SwordTypes, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_SwordTypes, path); }},
    {kPathEffect, [](cDatabase& db, const char* path) { return LoadEffectTable(db.m_Effects, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_Effects, path); }},
    {kPathCharaEffect, [](cDatabase& db, const char* path) { return LoadCharaEffectTable(db.m_CharaEffects, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_CharaEffects, path); }},
    {kPathScrEffect, [](cDatabase& db, const char* path) { return LoadScrEffectTable(db.m_ScrEffects, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_ScrEffects, path); }},
    {kPathPicture, [](cDatabase& db, const char* path) { return LoadPictureTable(db.m_Pictures, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_Pictures, path); }},
    {kPathSound, [](cDatabase& db, const char* path) { return LoadSoundTable(db.m_Sounds, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_Sounds, path); }},
    {kPathBgm, [](cDatabase& db, const char* path) { return LoadBgmTable(db.m_Bgms, path); },
     [](cDatabase& db, const char* path) { return SaveRecordTable(db.m_Bgms, path); }},
};

// Entry 0 of an effect table must exist: ResetNoneEffects and every effect number 0 use it.
template <class T>
void EnsureNoneEntry(CheckedVector<T>& table, int pathRow) {
  if (!table.empty()) return;
  ReportLog(SJ("%s : エントリが1つもないので既定のエントリを1つ加えました").c_str(), ProjectPathTable[pathRow].c_str());
  table.emplace_back();
}

// Element i of target becomes a copy of element i of source, target taking source's length.
template <class T>
void CopyTable(CheckedVector<T>& target, const CheckedVector<T>& source) {
  target.resize(source.size(), T());
  for (int i = 0; i < source.Size(); ++i) target.At(i) = source.At(i);
}

}  // namespace

cDatabase::cDatabase() { SetDefaults(); }

void cDatabase::SetDefaults() {
  Reset();
  m_AnimeSets.assign(1, cAnimeSetDef());
  m_Animes.assign(2, cAnimeEntry());
  m_Animes.At(0).m_Name = SJ("なし");
  m_Animes.At(1).m_Name = SJ("アクションA");
  m_CharaBitmaps.assign(2, cBmpCharaExcDef());
  m_SwordTypes.assign(1, cSwordTypeDef());
  m_Effects.assign(2, cEffectDef());
  m_CharaEffects.assign(2, cCharaEffectDef());
  m_ScrEffects.assign(2, cScrEffectDef());
  m_Pictures.assign(2, cPictureDef());
  m_Sounds.assign(2, cSoundDef());
  m_Bgms.assign(2, cBgmDef());
  m_CharaEffectsReversed.clear();
  m_ScrEffectsReversed.clear();
}

int cDatabase::LoadDatabase() {
  for (const sTableFile& file : kTableFiles) {
    const std::string& path = ProjectPathTable[static_cast<std::size_t>(file.pathRow)];
    if (!file.load(*this, path.c_str())) {
      ErrMesBox(SJ("%s のロードに失敗！").c_str(), path.c_str());
      return 0;
    }
  }
  ResetNoneEffects();
  return 1;
}

int cDatabase::SaveDatabase() {
  int saved = 1;
  for (const sTableFile& file : kTableFiles)
    if (!file.save(*this, ProjectPathTable[static_cast<std::size_t>(file.pathRow)].c_str())) saved = 0;
  return saved;
}

void cDatabase::ResetNoneEffects() {
  EnsureNoneEntry(m_CharaEffects, kPathCharaEffect);
  EnsureNoneEntry(m_ScrEffects, kPathScrEffect);
  m_CharaEffects.At(0).m_Kind = 0;
  m_ScrEffects.At(0).m_Kind = 0;
}

void cDatabase::FillReversedEffects() {
  CopyTable(m_CharaEffectsReversed, m_CharaEffects);
  CopyTable(m_ScrEffectsReversed, m_ScrEffects);
}

DatabaseSizes DatabaseSizesOf(const cDatabase& database) {
  DatabaseSizes sizes;
  sizes.animeSets = database.m_AnimeSets.Size();
  sizes.animes = database.m_Animes.Size();
  sizes.charaBitmaps = database.m_CharaBitmaps.Size();
  sizes.swordTypes = database.m_SwordTypes.Size();
  sizes.effects = database.m_Effects.Size();
  sizes.charaEffects = database.m_CharaEffects.Size();
  sizes.scrEffects = database.m_ScrEffects.Size();
  sizes.pictures = database.m_Pictures.Size();
  sizes.sounds = database.m_Sounds.Size();
  sizes.musics = database.m_Bgms.Size();
  return sizes;
}

int LoadAnimeSetTable(CheckedVector<cAnimeSetDef>& table, const char* path) {
  if (!LoadRecordTable(table, path, kMinRecordWithListBytes)) return 0;
  CheckAnimeSets(table, path);
  return 1;
}

int LoadAnimeTable(CheckedVector<cAnimeEntry>& table, const char* path) {
  return LoadRecordTable(table, path, kMinRecordWithListBytes);
}

int LoadCharaBitmapTable(CheckedVector<cBmpCharaExcDef>& table, const char* path) {
  if (!LoadRecordTable(table, path, kMinRecordBytes)) return 0;
  CheckCharaBitmaps(table, path);
  return 1;
}

int LoadSwordTypeTable(CheckedVector<cSwordTypeDef>& table, const char* path) {
  return LoadRecordTable(table, path, kMinRecordWithListBytes);
}

int LoadEffectTable(CheckedVector<cEffectDef>& table, const char* path) {
  if (!LoadRecordTable(table, path, kMinRecordWithListBytes)) return 0;
  CheckEffects(table, path);
  return 1;
}

int LoadCharaEffectTable(CheckedVector<cCharaEffectDef>& table, const char* path) {
  return LoadRecordTable(table, path, kMinRecordBytes);
}

int LoadScrEffectTable(CheckedVector<cScrEffectDef>& table, const char* path) {
  return LoadRecordTable(table, path, kMinRecordBytes);
}

int LoadPictureTable(CheckedVector<cPictureDef>& table, const char* path) {
  return LoadRecordTable(table, path, kMinRecordBytes);
}

int LoadSoundTable(CheckedVector<cSoundDef>& table, const char* path) {
  return LoadRecordTable(table, path, kMinRecordBytes);
}

int LoadBgmTable(CheckedVector<cBgmDef>& table, const char* path) {
  return LoadRecordTable(table, path, kMinRecordBytes);
}
