# SPDX-License-Identifier: MIT
# A Krita Python plugin that makes a palette the way a user does, through
# the Palette docker's own buttons and dialogs: a new palette, five
# swatches (RGB in 8 bits sRGB, RGB from a QColor as Krita keeps it, CMYK
# marked spot, Lab, grey in a group of its own), four columns, then "Save
# current palette". Krita writes the .kpl into its resource folder.
# make-kpl.sh installs and runs it; it writes DONE or the error to $KPL_LOG.
import os
import traceback

from krita import Extension, Krita, ManagedColor
from PyQt5.QtCore import QTimer
from PyQt5.QtGui import QColor
from PyQt5.QtWidgets import QApplication, QCheckBox, QComboBox, QLineEdit, QPushButton, QSpinBox, QToolButton, QWidget

LOG = os.environ.get('KPL_LOG', '/tmp/make-kpl.log')


def log(text):
    with open(LOG, 'a') as f:
        f.write(text + '\n')


def colour(model, depth, profile, components):
    c = ManagedColor(model, depth, profile)
    c.setComponents(components)
    return c


def button(parent, name):
    return [b for b in parent.findChildren(QToolButton) if b.objectName() == name][0]


def ok(dialog):
    [b for b in dialog.findChildren(QPushButton) if b.text() == '&OK'][0].click()


def modal(title):
    w = QApplication.activeModalWidget()
    return w if w is not None and w.windowTitle() == title and w.isVisible() else None


# "Edit current palette": four columns and a group "Greys" of two rows.
def edit_palette(dock):
    QTimer.singleShot(0, button(dock, 'bnEditPalette').click)
    while not modal('Palette Editor'):
        yield None
    editor = modal('Palette Editor')
    [s for s in editor.findChildren(QSpinBox) if s.objectName() == 'spinBoxCol'][0].setValue(4)
    QTimer.singleShot(0, button(editor, 'bnAddGroup').click)
    while not modal('Krita'):
        yield None
    d = modal('Krita')
    d.findChildren(QLineEdit)[0].setText('Greys')
    d.findChildren(QSpinBox)[0].setValue(2)
    ok(d)
    # The editor takes the group once the dialog's own loop has returned.
    yield None
    cbx = [c for c in editor.findChildren(QComboBox) if c.objectName() == 'cbxGroup'][0]
    log('groups in the editor: %r' % [cbx.itemText(i) for i in range(cbx.count())])
    ok(editor)
    yield None


def steps():
    k = Krita.instance()
    doc = k.createDocument(64, 64, 'palette', 'RGBA', 'U8', '', 300.0)
    k.activeWindow().addView(doc)
    view = k.activeWindow().activeView()
    dock = [d for d in k.dockers() if d.objectName() == 'PaletteDocker'][0]
    dock.show()
    yield None
    chooser = [w for w in dock.findChildren(QWidget) if w.metaObject().className() == 'KisPaletteChooser'][0]

    # Palette chooser: "Add a new palette".
    QTimer.singleShot(0, button(chooser, 'bnAdd').click)
    while not modal('Krita'):
        yield None
    d = modal('Krita')
    d.findChildren(QLineEdit)[0].setText('Print swatches')
    ok(d)
    yield None

    swatches = [
        ('', 'K1', 'K8.04.43', False, colour('RGBA', 'U8', '', [97 / 255, 103 / 255, 98 / 255, 1.0])),  # B G R A
        ('', 'R1', 'Brick red', False, ManagedColor.fromQColor(QColor(200, 40, 30))),
        ('', 'C1', 'Process green', True, colour('CMYKA', 'U8', 'Artifex CMYK SWOP Profile', [1.0, 0.0, 0.6, 0.2, 1.0])),
        ('', 'L1', 'Lab violet', False, colour('LABA', 'U16', '', [0.6, 0.5 + 30 / 255, 0.5 - 40 / 255, 1.0])),
        ('Greys', 'G1', 'Dark grey', False, colour('GRAYA', 'U8', '', [0.25, 1.0])),
    ]
    groups_made = False
    for group, ident, name, spot, value in swatches:
        if group and not groups_made:
            # Made after the ungrouped swatches, as the Greys' swatch needs it.
            yield from edit_palette(dock)
            groups_made = True
        # The swatch takes the foreground colour: "Add a new color swatch".
        view.setForeGroundColor(value)
        log('%s: %s' % (name, view.foregroundColor().toXML().replace('\n', ' ')))
        QTimer.singleShot(0, button(dock, 'bnAdd').click)
        while not modal('Add a new Color Swatch'):
            yield None
        d = modal('Add a new Color Swatch')
        groups = d.findChildren(QComboBox)[0]
        groups.setCurrentIndex(groups.findText(group))
        edits = d.findChildren(QLineEdit)
        edits[0].setText(ident)
        edits[1].setText(name)
        d.findChildren(QCheckBox)[0].setChecked(spot)
        ok(d)
        yield None

    button(dock, 'bnSavePalette').click()
    doc.setModified(False)
    log('DONE')


def run(gen):
    try:
        next(gen)
        QTimer.singleShot(300, lambda: run(gen))
    except StopIteration:
        pass
    except Exception:
        log(traceback.format_exc())


class MakeKpl(Extension):
    def setup(self):
        pass

    def createActions(self, window):
        QTimer.singleShot(3000, lambda: run(steps()))


Krita.instance().addExtension(MakeKpl(Krita.instance()))
