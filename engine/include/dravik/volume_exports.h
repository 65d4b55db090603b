#pragma once
// The volume exports of dravik.dll: the cluster map, one file's extents and a
// volume's facts (plain C names, caller cleans up). Called on the user
// interface thread.
//
// letter: the ASCII drive letter in the low byte, the rest ignored; any
// letter outside C to Z (and c to z) addresses drive C. Every record
// returned is the engine's own storage, valid until the next call of the same
// export; the caller never frees it.

#include "dravik/cell_colours.h"
#include "dravik/cell_file_list.h"
#include "dravik/file_extent_info.h"
#include "dravik/volume_info.h"

extern "C" {

// The colour codes of the volume's 1000 cells, all 0 when it has no map.
// They follow the recency of the volume last selected with
// DLL_SetCurrentVolume.
int32_t* __cdecl DLL_GetVolumeColorTable(int letter);

// The colour code of one cell (0 to 999); 0 for another index or a volume
// without a map.
int32_t __cdecl DLL_GetVolumeSectorColor(int letter, int cell);

// The files of one cell (0 to 999) as the last analysis found them; an empty
// list for another index. The lists are rebuilt while an analysis runs: read
// them only while no run is active.
CellFileList* __cdecl DLL_GetVolumeSectorFilesList(int letter, int cell);

// Extent count and size of the file at path (full ANSI path), sizes in
// clusters of the selected volume. Null when the file cannot be opened: in
// use without sharing, access denied, gone.
FileExtentInfo* __cdecl DLL_GetVolumeSectorFileInfo(const char* path);

// Selects the volume the status, the colours and the file sizes refer to.
// During a run it changes only what the host is shown, never the volume the
// workers are on.
void __cdecl DLL_SetCurrentVolume(int letter);

// The volume's facts as taken at load; null when it has no map.
VolumeInfo* __cdecl DLL_GetVolumeInfo(int letter);
}
