// What a screen reader gets from the Win32 window through Microsoft Active
// Accessibility (MSAA). The program answers no WM_GETOBJECT itself: a screen
// reader gets the objects the system's oleacc makes for the window and its
// standard controls, read here as a screen reader reads them. A case the
// system does not answer is skipped, and says why.

#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "window/caption.h"
#include "window/conformance/shown_text.h"
#include "window/definition.h"
#include "window/win32/tests/win32_driver.h"
#include "window/win32/text.h"

namespace kalvetor::win32::testing {
namespace {

struct Release {
    void operator()(IUnknown* object) const { object->Release(); }
};
using Accessible = std::unique_ptr<IAccessible, Release>;

Accessible accessibleOf(HWND window, LONG object) {
    void* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(object), __uuidof(IAccessible),
                                          &accessible))) {
        return nullptr;
    }
    return Accessible(static_cast<IAccessible*>(accessible));
}

VARIANT child(LONG id = CHILDID_SELF) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = id;
    return variant;
}

// A text the object answered with, freed; none if it gave none.
std::optional<std::u16string> taken(HRESULT result, BSTR text) {
    std::optional<std::u16string> answer;
    if (result == S_OK && text != nullptr) {
        answer = conformance::withLf(fromWide(std::wstring_view(text, SysStringLen(text))));
    }
    SysFreeString(text);
    return answer;
}

std::optional<std::u16string> nameOf(IAccessible& object, LONG id = CHILDID_SELF) {
    BSTR name = nullptr;
    const HRESULT result = object.get_accName(child(id), &name);
    return taken(result, name);
}

std::optional<std::u16string> valueOf(IAccessible& object) {
    BSTR value = nullptr;
    const HRESULT result = object.get_accValue(child(), &value);
    return taken(result, value);
}

// A role or state: both come as a number.
LONG numberOf(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible& object,
              LONG id = CHILDID_SELF) {
    VARIANT answer;
    VariantInit(&answer);
    const HRESULT result = (object.*get)(child(id), &answer);
    const LONG number = result == S_OK && answer.vt == VT_I4 ? answer.lVal : -1;
    VariantClear(&answer);
    return number;
}

// The children selected, by their ids: one comes as its id, several as an
// enumeration of ids.
std::vector<LONG> selectedChildren(IAccessible& object) {
    VARIANT selection;
    VariantInit(&selection);
    std::vector<LONG> ids;
    if (object.get_accSelection(&selection) == S_OK) {
        if (selection.vt == VT_I4) {
            ids.push_back(selection.lVal);
        } else if (selection.vt == VT_UNKNOWN && selection.punkVal != nullptr) {
            IEnumVARIANT* items = nullptr;
            if (SUCCEEDED(selection.punkVal->QueryInterface(__uuidof(IEnumVARIANT),
                                                            reinterpret_cast<void**>(&items)))) {
                VARIANT item;
                VariantInit(&item);
                while (items->Next(1, &item, nullptr) == S_OK) {
                    ids.push_back(item.vt == VT_I4 ? item.lVal : -1);
                    VariantClear(&item);
                }
                items->Release();
            }
        }
    }
    VariantClear(&selection);
    return ids;
}

class ScreenReader : public ::testing::Test {
protected:
    void SetUp() override {
        comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        ASSERT_TRUE(comReady_);
        driver_.start();
    }
    void TearDown() override {
        if (comReady_) {
            CoUninitialize();
        }
    }

    Accessible clientOf(const definition::Control& control) {
        return accessibleOf(driver_.control(control), OBJID_CLIENT);
    }

    bool comReady_ = false;
    Win32Driver driver_;
};

// The client area: what a screen reader walks for the controls.
TEST_F(ScreenReader, NamesTheWindowByItsCaptionAndHoldsTheThreeControls) {
    const Accessible window = accessibleOf(driver_.window().handle(), OBJID_CLIENT);
    ASSERT_TRUE(window);
    EXPECT_EQ(nameOf(*window), frontend::caption());
    LONG children = 0;
    EXPECT_EQ(window->get_accChildCount(&children), S_OK);
    EXPECT_EQ(children, 3) << "the label, the name list and the box";
}

// The frame: what a screen reader announces when the window comes to the
// front.
TEST_F(ScreenReader, NamesTheFrameByItsCaption) {
    const Accessible frame = accessibleOf(driver_.window().handle(), OBJID_WINDOW);
    ASSERT_TRUE(frame);
    BSTR name = nullptr;
    const HRESULT answer = frame->get_accName(child(), &name);
    if (answer == E_NOTIMPL) {
        GTEST_SKIP()
            << "the system's MSAA answers E_NOTIMPL for the window's frame (Wine's oleacc, 8 and 10, has no "
               "frame object); its client area carries the caption instead";
    }
    EXPECT_EQ(taken(answer, name), frontend::caption());
    EXPECT_EQ(numberOf(&IAccessible::get_accRole, *frame), ROLE_SYSTEM_WINDOW);
}

TEST_F(ScreenReader, ReadsTheTitleFromTheLabel) {
    const Accessible label = clientOf(definition::kTitleLabel);
    ASSERT_TRUE(label);
    EXPECT_EQ(nameOf(*label), catalogue::decodeCp1251(catalogue::kTitle));
}

TEST_F(ScreenReader, OffersTheNamesAndTheOneSelected) {
    const Accessible list = clientOf(definition::kNameList);
    ASSERT_TRUE(list);
    LONG children = 0;
    const HRESULT counted = list->get_accChildCount(&children);
    const LONG role = numberOf(&IAccessible::get_accRole, *list);
    if (role != ROLE_SYSTEM_LIST && (counted != S_OK || children == 0)) {
        GTEST_SKIP() << "the system's MSAA gives the list box no items (role " << role
                     << ", no children): its oleacc offers a list box only as a plain client area, "
                        "as Wine's (8 and 10) does";
    }
    ASSERT_EQ(children, catalogue::kEntryCount);
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        EXPECT_EQ(nameOf(*list, i + 1), conformance::nameAt(i)) << "item " << i;
    }
    EXPECT_TRUE(selectedChildren(*list).empty()) << "nothing is selected when the window opens";

    for (const int entry : {0, 11, catalogue::kEntryCount - 1}) {
        driver_.clickEntry(entry);
        ASSERT_EQ(driver_.selectedEntry(), entry);
        EXPECT_EQ(selectedChildren(*list), std::vector<LONG>{entry + 1});
        EXPECT_NE(numberOf(&IAccessible::get_accState, *list, entry + 1) & STATE_SYSTEM_SELECTED, 0)
            << "entry " << entry;
    }
}

TEST_F(ScreenReader, ReadsTheBoxAsReadOnlyTextWithWhatItShows) {
    const Accessible box = clientOf(definition::kDescriptionBox);
    ASSERT_TRUE(box);
    EXPECT_EQ(numberOf(&IAccessible::get_accRole, *box), ROLE_SYSTEM_TEXT);
    EXPECT_NE(numberOf(&IAccessible::get_accState, *box) & STATE_SYSTEM_READONLY, 0);
    EXPECT_EQ(valueOf(*box), conformance::introductionAsShown());
    const int entry = 5;
    driver_.clickEntry(entry);
    EXPECT_EQ(valueOf(*box), conformance::descriptionAt(entry));
}

}  // namespace
}  // namespace kalvetor::win32::testing
