#include "irdriver/RegisterPages.h"

#include <map>

#include "irdriver/PhysicalPage.h"

namespace {

std::map<std::uint32_t, std::weak_ptr<const ce::RegisterPage>>& Mapped() {
    static std::map<std::uint32_t, std::weak_ptr<const ce::RegisterPage>> pages;
    return pages;
}

}  // namespace

ce::RegisterPage RegisterPages::Hold(std::uint32_t physical) {
    std::shared_ptr<const ce::RegisterPage> page = Mapped()[physical].lock();
    if (!page) {
        const ce::RegisterPage mapped = PhysicalPage::Map(physical);
        if (!mapped.mapped()) return {};
        page = std::shared_ptr<const ce::RegisterPage>(new ce::RegisterPage(mapped), [](const ce::RegisterPage* last) {
            ce::RegisterPage released = *last;
            PhysicalPage::Release(released);
            delete last;
        });
        Mapped()[physical] = page;
    }
    held_.push_back(page);
    return *page;
}
