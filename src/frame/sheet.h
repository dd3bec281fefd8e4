// The modal "QTA1" property sheet: owns one instance of every page and the
// two host interfaces, and decides which page set the technician sees.
#pragma once

#include <span>
#include <vector>

#include "frame/host_link.h"
#include "frame/platform.h"
#include "pages/page_classes.h"

namespace qta1 {

// Tab order after Node Information.
std::span<const PageId> UserSet();
std::span<const PageId> TechnicianSet();

class CSheet final : public SheetEvents {
public:
    // Constructs the pages, obtains the host interfaces from the client site
    // and adds the first pages (Node Information, then the set the node's
    // configured word calls for).
    CSheet(Platform& platform, HostUnknown* clientSite);
    ~CSheet();
    CSheet(const CSheet&) = delete;
    CSheet& operator=(const CSheet&) = delete;

    // Shows the sheet; returns when the technician presses "Exit".
    void RunModal();

    void AddUserSet();
    void RemoveUserSet();
    void AddTechnicianSet();
    void RemoveTechnicianSet();
    // The "User" and "Technician" switches. Asking for the set that is
    // already shown changes nothing.
    void ShowUserSet();
    void ShowTechnicianSet();

    NodeLink& node() { return link_; }
    Platform& platform() { return platform_; }
    const std::vector<PageId>& tabs() const { return tabs_; }

    void OnSheetInitDialog() override;

private:
    CPropPage& PageOf(PageId id);
    void Add(PageId id);
    void Remove(PageId id);
    bool Shows(std::span<const PageId> set) const;

    Platform& platform_;
    // Declared first so that it is released after the pages are destroyed;
    // it obtains the interfaces only after every page has been constructed.
    NodeLink link_;
    CPage2PropPage page2_;
    CPage3PropPage page3_;
    CPage4PropPage page4_;
    CPage5PropPage page5_;
    CPage6PropPage page6_;
    CPage7PropPage page7_;
    CPage8PropPage page8_;
    CPage9PropPage page9_;
    CPage10PropPage page10_;
    CPage11PropPage page11_;
    CPage12PropPage page12_;
    CPage13PropPage page13_;
    CPage14PropPage page14_;
    CPage15PropPage page15_;
    CPage16PropPage page16_;
    CPage17PropPage page17_;
    CPage18PropPage page18_;
    CPage19PropPage page19_;
    CPage20PropPage page20_;
    CPage21PropPage page21_;
    CPage22PropPage page22_;
    CPage23PropPage page23_;
    CPage24PropPage page24_;
    CPage25PropPage page25_;
    CPage26PropPage page26_;
    CPage27PropPage page27_;
    std::vector<PageId> tabs_;
};

}  // namespace qta1
