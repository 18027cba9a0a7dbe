// What the site survey page and the wizard's network list do alike with their list of the
// networks in range: a scan awaited behind the "Searching" panel, the rows its results fill,
// their order by a header, and the quick connect dialog for a network picked from the list.
#pragma once

#include <cstdint>
#include <vector>

#include "../classlib/ComCtrls.h"
#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "Trifacebtn.h"
#include "Usiterows.h"

class CAdapter;

// The texts of a row after its caption, one a column of the list.
using SiteColumns = std::vector<AnsiString SiteRow::*>;

// The network a row owns; null for no row.
const SiteListEntry* SiteEntryOf(TListItem* item);

// One page's list with its Refresh button, "Searching" panel and timer; the page makes the
// controls and their columns, this gives them their common look and drives them. The list's Tag
// is the sort direction, strongest first to start with.
class TSiteScan {
public:
    TSiteScan(TListView* list, TTrifaceBtn* refresh, TPanel* searching, TTimer* timer,
              SiteColumns columns);

    // When the page prepares itself: the skin's site icons, the faces of Refresh and of the
    // page's Connect, and the panel's word from the string file.
    void InitControls(TTrifaceBtn* connect);

    // A scan has been started: the panel shows until the timer reads its results.
    void Await();
    // The timer runs: results are awaited.
    bool Awaited() const;
    // A new scan (nothing without an adapter): the rows go and Refresh waits for the results.
    void Refresh(CAdapter* adapter);
    // The timer's end: the panel hides; with the worker's results the rows are added, sorted,
    // and Refresh is enabled (true). False when the worker could not give them (no adapter
    // open): the rows and Refresh stay as they are.
    bool ReadResults(CAdapter* adapter);
    // No rows, Refresh disabled, nothing awaited.
    void Reset();

    // Compares two rows by column, times the list's direction.
    int Compare(TListItem* item1, TListItem* item2, int32_t column) const;
    // A click on a header of key: the column or the direction changes, then the rows are sorted.
    void SortBy(int32_t& column, int32_t key);

private:
    void AddRows(const std::vector<SiteSurveyEntry>& entries);

    TListView* list_;
    TTrifaceBtn* refresh_;
    TPanel* searching_;
    TTimer* timer_;
    SiteColumns columns_;
};

// The quick connect dialog for the network now in EditProfile, over the window of page; false
// when the user cancelled it. A network it does not serve, or no dialog, goes on as it is.
bool AskNetworkKey(TControl* page);
