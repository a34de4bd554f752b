// Kelpwright web backend: the platform steps of the window-menu binding. A menu
// handle names a list element (<ul role="menu">) kept in Module.kwMenus; an
// item is a button in a list item, with aria-checked, aria-disabled and
// aria-haspopup, a separator a list item of role "separator". Attaching a bar
// puts its list in the window's <nav> above the canvas. A chosen item is
// queued in JavaScript and reaches the binding from the event drain, before
// the window's own handling of the drained events goes on. A choice, or
// Escape, gives the keyboard back to the canvas.
#include "application/implementation/kwi_window_menu_binding.h"
#include "application/implementation/web/kwi_web_window_parts.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using Kelpwright::Application::MenuItemIdentifier;

// NOTE: an EM_JS body reaches JavaScript as one line, so every statement ends
// with its own semicolon.
// clang-format off
EM_JS(int, kw_menu_create, (), {
    var menus = Module.kwMenus || (Module.kwMenus = {next: 1, lists: {}});
    var list = document.createElement('ul');
    list.className = 'kw-menu';
    list.setAttribute('role', 'menu');
    list.dataset.kwMenu = menus.next;
    menus.lists[menus.next] = list;
    return menus.next++;
});

EM_JS(void, kw_menu_destroy, (int menu), {
    var menus = Module.kwMenus;
    var list = menus && menus.lists[menu];
    if (!list) {
        return;
    }
    list.querySelectorAll('ul').forEach(function(subMenu) { delete menus.lists[subMenu.dataset.kwMenu]; });
    delete menus.lists[menu];
    list.remove();
});

EM_JS(void, kw_menu_insert, (int menu, int identifier, int state, const char* name, int subMenu), {
    var menus = Module.kwMenus;
    var list = menus && menus.lists[menu];
    if (!list) {
        return;
    }
    var item = document.createElement('li');
    if (!name) {
        item.className = 'kw-separator';
        item.setAttribute('role', 'separator');
    } else {
        item.setAttribute('role', 'none');
        var button = document.createElement('button');
        button.type = 'button';
        button.className = 'kw-item';
        button.textContent = UTF8ToString(name);
        button.dataset.kwItem = identifier;
        var checked = (state & 8) !== 0;
        button.setAttribute('role', checked ? 'menuitemcheckbox' : 'menuitem');
        if (checked) {
            button.setAttribute('aria-checked', 'true');
        }
        if ((state & 3) === 3) {
            button.setAttribute('aria-disabled', 'true');
        }
        item.appendChild(button);
        var subList = subMenu && menus.lists[subMenu];
        if (subList) {
            button.setAttribute('aria-haspopup', 'menu');
            button.setAttribute('aria-expanded', 'false');
            subList.hidden = true;
            item.appendChild(subList);
        }
    }
    list.insertBefore(item, list.firstChild);
});

EM_JS(void, kw_menu_attach, (int menu), {
    var w = Module.kwWindow;
    if (!w) {
        return;
    }
    var bar = w.bar;
    function expand(button, open) {
        button.setAttribute('aria-expanded', open ? 'true' : 'false');
        button.nextSibling.hidden = !open;
    }
    function closeAll() {
        bar.querySelectorAll('[aria-expanded="true"]').forEach(function(button) { expand(button, false); });
        bar.kwOpen = false;
    }
    function open(button) {
        var siblings = button.parentNode.parentNode;
        siblings.querySelectorAll('[aria-expanded="true"]').forEach(function(other) {
            if (other !== button) {
                expand(other, false);
            }
        });
        expand(button, true);
        bar.kwOpen = true;
    }
    if (!bar.kwBehaviour) {
        bar.kwBehaviour = true;
        bar.addEventListener('click', function(event) {
            var button = event.target.closest('button.kw-item');
            if (!button || button.getAttribute('aria-disabled') === 'true') {
                return;
            }
            if (button.hasAttribute('aria-haspopup')) {
                var onBar = button.parentNode.parentNode.parentNode === bar;
                if (button.getAttribute('aria-expanded') !== 'true') {
                    open(button);
                } else if (onBar) {
                    closeAll();
                }
                return;
            }
            closeAll();
            w.view.focus({preventScroll: true});
            w.events.push([10, Number(button.dataset.kwItem)]);
        });
        bar.addEventListener('pointerover', function(event) {
            var button = event.target.closest('button.kw-item');
            if (bar.kwOpen && button && button.hasAttribute('aria-haspopup') &&
                button.getAttribute('aria-expanded') !== 'true') {
                open(button);
            }
        });
        bar.addEventListener('keydown', function(event) {
            if (event.key === 'Escape') {
                closeAll();
                w.view.focus({preventScroll: true});
            }
        });
        var outside = function(event) {
            if (!bar.contains(event.target)) {
                closeAll();
            }
        };
        document.addEventListener('pointerdown', outside);
        w.listeners.push([document, 'pointerdown', outside]);
    }
    var list = menu && Module.kwMenus && Module.kwMenus.lists[menu];
    bar.replaceChildren();
    bar.kwOpen = false;
    if (list) {
        list.setAttribute('role', 'menubar');
        list.hidden = false;
        bar.appendChild(list);
    }
    bar.hidden = !list;
});

// A pop-up of the menu's list at page position (x, y); the program waits for
// the user's choice: an enabled item's identifier, or 0 for a press outside or
// Escape. Keys, and the press that dismisses it, are the pop-up's alone.
EM_ASYNC_JS(int, kw_menu_track_popup, (int menu, int x, int y), {
    var list = Module.kwMenus && Module.kwMenus.lists[menu];
    if (!list || !list.firstChild) {
        return 0;
    }
    list.classList.add('kw-popup');
    list.style.left = x + 'px';
    list.style.top = y + 'px';
    list.hidden = false;
    document.body.appendChild(list);
    return await new Promise(function(resume) {
        function finish(identifier) {
            document.removeEventListener('pointerdown', outside, true);
            document.removeEventListener('keydown', escape, true);
            list.removeEventListener('click', choose);
            list.classList.remove('kw-popup');
            list.remove();
            resume(identifier);
        }
        function outside(event) {
            if (!list.contains(event.target)) {
                event.stopPropagation();
                finish(0);
            }
        }
        function escape(event) {
            event.stopPropagation();
            if (event.key === 'Escape') {
                finish(0);
            }
        }
        function choose(event) {
            var button = event.target.closest('button.kw-item');
            if (!button || button.getAttribute('aria-disabled') === 'true') {
                return;
            }
            if (button.hasAttribute('aria-haspopup')) {
                var expanded = button.getAttribute('aria-expanded') === 'true';
                button.setAttribute('aria-expanded', expanded ? 'false' : 'true');
                button.nextSibling.hidden = expanded;
                return;
            }
            finish(Number(button.dataset.kwItem));
        }
        document.addEventListener('pointerdown', outside, true);
        document.addEventListener('keydown', escape, true);
        list.addEventListener('click', choose);
    });
});
// clang-format on

namespace kwImplementation {

namespace {

// Windows with the menu procedure in front of their own handling.
std::vector<WindowHandle> sHookedWindows;

bool IsHooked(WindowHandle window)
{
    return std::find(sHookedWindows.begin(), sHookedWindows.end(), window) != sHookedWindows.end();
}

int MenuNumber(MenuHandle menu) { return static_cast<int>(reinterpret_cast<std::intptr_t>(menu)); }

} // namespace

namespace Web {

void DispatchMenuChoice(WindowHandle window, unsigned int itemIdentifier)
{
    if (!IsHooked(window)) {
        return;
    }
    if (WindowMenuRecord* record = FindWindowMenuRecord(window)) {
        DispatchMenuCommand(*record, static_cast<MenuItemIdentifier>(itemIdentifier & 0xFFFF));
    }
}

void DispatchContextMenuRequest(WindowHandle window, unsigned int x, unsigned int y)
{
    if (!IsHooked(window)) {
        return;
    }
    if (WindowMenuRecord* record = FindWindowMenuRecord(window)) {
        DispatchContextMenu(*record, x, y);
    }
}

} // namespace Web

namespace Platform {

std::intptr_t ReadWindowProcedure(WindowHandle window)
{
    if (!Web::IsLiveWindow(window)) {
        return 0;
    }
    return IsHooked(window) ? MenuWindowProcedureValue() : Web::OwnWindowProcedureValue();
}

std::intptr_t MenuWindowProcedureValue() { return reinterpret_cast<std::intptr_t>(&Web::DispatchMenuChoice); }

void InstallMenuWindowProcedure(WindowHandle window)
{
    if (Web::IsLiveWindow(window) && !IsHooked(window)) {
        sHookedWindows.push_back(window);
    }
}

// A menu handle is the page's number of the list (from 1), never dereferenced.
MenuHandle CreateMenu()
{
    const std::intptr_t number = kw_menu_create();
    return reinterpret_cast<MenuHandle>(number); // NOLINT(performance-no-int-to-ptr): not an address
}

void DestroyMenu(MenuHandle menu)
{
    if (menu != nullptr) {
        kw_menu_destroy(MenuNumber(menu));
    }
}

void InsertMenuItem(MenuHandle menu, const MenuItemDescription& item)
{
    if (menu != nullptr) {
        kw_menu_insert(MenuNumber(menu), item.identifier, static_cast<int>(item.state), item.displayName,
                       MenuNumber(item.subMenu));
    }
}

void SetMenu(WindowHandle window, MenuHandle menu)
{
    if (Web::IsLiveWindow(window)) {
        kw_menu_attach(MenuNumber(menu));
    }
}

unsigned int TrackPopupMenu(MenuHandle menu, unsigned int x, unsigned int y, WindowHandle window)
{
    if (menu == nullptr || !Web::IsLiveWindow(window)) {
        return 0;
    }
    return static_cast<unsigned int>(
        kw_menu_track_popup(MenuNumber(menu), static_cast<int>(x), static_cast<int>(y)));
}

} // namespace Platform

} // namespace kwImplementation
