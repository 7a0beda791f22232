#pragma once

#include <QString>

class TCacheTable;

// The banner table between runs: "adcache.dat" in the data folder, one banner a line of Name, BannerType,
// URL, HomeURL, Interval and Hits separated by commas, in windows-1255, each line ended by CR LF.
namespace BannerTableFile {
// AppPaths::appDir() + "adcache.dat".
QString path();

// Empties the table and reads the file into it. A line that runs out of commas leaves the fields after
// the last one empty, Interval 10000 and the rest read as Hits; a line without any comma names no
// banner and is left out, since an entry without a name and interval could never be shown and would
// stop the rotation. An Interval or Hits that is not a number reads as 10000 and 0. A file that cannot
// be read leaves the table empty, without a word.
void load(TCacheTable& table, const QString& file);
// Writes the table, replacing the file whole. An empty table leaves the file as it is; failures are not
// reported.
void save(const TCacheTable& table, const QString& file);
} // namespace BannerTableFile
