# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader hears of KORVO, read through the desktop's accessibility
bus as a screen reader reads it (not through Qt's in-process interface).

Starts the program (the first argument), opens each of its eight windows by the
bus's own "Press" actions, and checks in each: the window is a frame named by
its title strip; no decoration (a picture without a name, a bare frame) is
presented; every input and display field is named by its own caption and
described by its unit (a drop-down list, which the toolkit names by its current
item, is labelled by its caption); the tables are named by their captions; the
"Cerrar" and "Minimizar" glyphs are buttons that a "Press" closes or shrinks.

Run under a private session bus and a display (check_accessibility_bus.sh).
Exit status 0 when all holds, 1 with one line per fault, 77 when the bus cannot
be reached.
"""
import os
import re
import signal
import subprocess
import sys
import time

try:
    import pyatspi
except ImportError as error:
    print(f"SKIP: pyatspi cannot be imported ({error})")
    sys.exit(77)

faults = []


def fault(text):
    faults.append(text)
    print("FAULT: " + text, flush=True)


def wait_for(what, seconds=20.0):
    """Polls `what` until it gives something true; None after `seconds`."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = what()
        except Exception:  # the tree changes under a query while windows open
            found = None
        if found:
            return found
        time.sleep(0.1)
    return None


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def press(node):
    names = actions(node)
    if "Press" not in names:
        raise AssertionError(f"{node.getRoleName()} «{node.name}» has no Press action")
    node.queryAction().doAction(names.index("Press"))


def walk(node, showing_only=True):
    """The nodes under `node`; a table's cells are not entered (a run adds
    thousands of them)."""
    for child in node:
        if child is None:
            continue
        if showing_only and not child.getState().contains(pyatspi.STATE_SHOWING):
            continue
        yield child
        if child.getRoleName() != "table":
            yield from walk(child, showing_only)


def find(root, role, name, showing_only=True):
    for node in walk(root, showing_only):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def labelled_by(node):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                target = relation.getTarget(i)
                if target.getRoleName() == "label":
                    names.append(target.name)
    return " ".join(" ".join(name.split()) for name in names)


class Program:
    def __init__(self, path):
        environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        environment.pop("QT_QPA_PLATFORM", None)
        self.process = subprocess.Popen([os.path.abspath(path)], env=environment, cwd=os.environ.get("TMPDIR", "/tmp"))
        self.app = wait_for(self._application, 30)
        if not self.app:
            self.stop()
            fault("KORVO did not appear on the accessibility bus")
            finish()

    @staticmethod
    def _application():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "KORVO":
                return app
        return None

    def window(self, name, seconds=10.0):
        def shown():
            for window in self.app:
                if (window is not None and window.name == name and
                        window.getState().contains(pyatspi.STATE_SHOWING)):
                    return window
            return None
        return wait_for(shown, seconds)

    def gone(self, name):
        return wait_for(lambda: self.window(name, 0.05) is None, 10)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()


def check_window(window, strip, fields, combos=(), tables=(), panels=None):
    """fields: caption -> unit ("" for none); combos: caption; tables: names;
    panels: caption -> expected value."""
    where = f"«{strip}»"
    if window.getRoleName() != "frame":
        fault(f"{where} is presented as a {window.getRoleName()}, not a frame")
    nodes = list(walk(window, showing_only=False))
    for node in nodes:
        role = node.getRoleName()
        if role == "image" and not node.name:
            fault(f"{where} presents a picture without a name")
        if role == "frame" and not node.name and node.childCount == 0:
            fault(f"{where} presents a bare frame")
    closer = find(window, "push button", "Cerrar")
    if closer is None or "Press" not in actions(closer):
        fault(f"{where}: «Cerrar» is not a button with a Press action")

    texts = [node for node in nodes if node.getRoleName() == "text" and
             node.getState().contains(pyatspi.STATE_SHOWING)]
    named = {}
    for node in texts:
        if not node.name:
            fault(f"{where}: a field without a name")
        elif node.name in named:
            fault(f"{where}: two fields are both named «{node.name}»")
        named[node.name] = node
    for caption, unit in fields.items():
        node = named.get(caption)
        if node is None:
            fault(f"{where}: no field is named «{caption}» (fields: {sorted(named)})")
        elif node.description != unit:
            fault(f"{where}: «{caption}» is described «{node.description}», not «{unit}»")
    lists = [node for node in nodes if node.getRoleName() == "combo box"]
    heard = [labelled_by(node) for node in lists]
    for caption in combos:
        if caption not in heard:
            fault(f"{where}: no drop-down list is labelled «{caption}» (lists: {heard})")
    for name in tables:
        if not any(node.getRoleName() == "table" and node.name == name for node in nodes):
            fault(f"{where}: no table is named «{name}»")
    for caption, value in (panels or {}).items():
        expected = f"{caption} {value}"
        if not any(node.getRoleName() == "label" and node.name == expected for node in nodes):
            fault(f"{where}: no panel reads «{expected}»")


def close_by_glyph(korvo, strip):
    window = korvo.window(strip)
    press(find(window, "push button", "Cerrar"))
    if not korvo.gone(strip):
        fault(f"«{strip}»: Press on «Cerrar» did not close it")


def answer_message(korvo, text):
    """Presses OK in the message box that says `text`."""
    def box():
        for window in korvo.app:
            if (window is not None and window.getRoleName() in ("alert", "dialog") and
                    window.getState().contains(pyatspi.STATE_SHOWING) and find(window, "label", text)):
                return window
        return None
    window = wait_for(box, 30)
    if window is None:
        fault(f"no message «{text}»")
        return
    press(find(window, "push button", "OK"))


MAIN = "Korvatek"
REAL = ("Calculo de Trayectorias Reales (Considerando factores como: Resistencia del Aire (Fricción), "
        "Altitud, Velocidad, Aceleración, Gravedad, etc.)")
DRAG = "Calcular Constante de Proporcionalidad"
MASS = "Convertir Unidades a Kilos"
SPEED = "Convertir fts/s -> m/s"
RESULTS = "Resultados Obtenidos"
IDEAL = "Calculo de Trayectorias Ideales (Despreciando factores externos que afectan el vuelo)"
ABOUT = "Acerca del Programa... K.O.R.V.O. [v1.0] - Junio 2010"


def finish():
    if faults:
        print(f"{len(faults)} fault(s) in what a screen reader hears")
        sys.exit(1)
    print("What a screen reader hears: all eight windows as intended")
    sys.exit(0)


def main():
    try:
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:
        print(f"SKIP: the accessibility bus cannot be reached ({error})")
        sys.exit(77)
    korvo = Program(sys.argv[1])
    try:
        run(korvo)
    finally:
        korvo.stop()
    finish()


def run(korvo):
    main_window = korvo.window(MAIN)
    if main_window is None:
        fault("the main window is not shown")
        return
    for node in walk(main_window, showing_only=False):
        if node.getRoleName() == "image" and not node.name:
            fault("the main window presents a picture without a name")
    for glyph in ("Minimizar", "Cerrar"):
        node = find(main_window, "push button", glyph)
        if node is None or "Press" not in actions(node):
            fault(f"the main window's «{glyph}» is not a button with a Press action")

    press(find(main_window, "push button", "Calcular Trayectoria Real"))
    real = korvo.window(REAL)
    if real is None:
        fault("«Calcular Trayectoria Real» did not open its window")
        return
    check_window(real, REAL,
                 {"D:": "kg/m", "T:": "Segundos", "M:": "Kg.", "Xo:": "Metros", "Yo:": "Metros",
                  "0°:": "Grados (Angulo)", "Vo:": "m/s", "Vx:": "m/s", "Vy:": "m/s", "Ax:": "m/s",
                  "Ay:": "m/s", "VFx:": "m/s", "VFy:": "m/s", "X:": "m", "Y:": "m", "DeltaT:": "Segundos"},
                 tables=["Tabla de Valores Procesados:"])

    for button, strip, fields, combos in (
            ("Calcular D", DRAG,
             {"R (Diametro Base del Proyectil [mm]):": "", "Pi (Constante Matematica de Pi):": "",
              "D (Constante de Proporcionalidad):": "", "Resultado D, cifra significativa:": ""},
             ["P (Densidad del Aire [Kg/m3]):", "C (Coeficiente de Arrastre):"]),
            ("Calcular M", MASS, {"Convertir:": "en la unidad de la lista"}, []),
            ("Convertir fts/s", SPEED, {"Convertir:": "ft/s"}, [])):
        press(find(real, "push button", button))
        window = korvo.window(strip)
        if window is None:
            fault(f"«{button}» did not open «{strip}»")
            continue
        check_window(window, strip, fields, combos)
        helps = [node.description for node in walk(window) if node.getRoleName() == "push button" and
                 node.name in ("<- ?", "?")]
        if len(set(helps)) != len(helps) or not all(helps):
            fault(f"«{strip}»: its help buttons do not say what each explains: {helps}")
        close_by_glyph(korvo, strip)

    press(find(real, "push button", "Iniciar Proceso"))
    answer_message(korvo, "Proceso Finalizado.")
    results_button = wait_for(lambda: "Press" in actions(find(real, "push button", "Resultados")), 30)
    if not results_button:
        fault("«Resultados» did not become pressable after the run")
        return
    chart = find(real, "chart", "Gráfica de la trayectoria real")
    if chart is None or "(3481 puntos)" not in chart.description or re.search(r"\d\.\d", chart.description):
        fault("the chart does not describe the run's points with the decimal comma: "
              f"«{chart.description if chart else ''}»")
    press(find(real, "push button", "Resultados"))
    results = korvo.window(RESULTS)
    if results is None:
        fault("«Resultados» did not open its window")
    else:
        check_window(results, RESULTS, {}, panels={
            "Total de Iteraciones:": "3481", "Tiempo Total de Vuelo:": "34,81 seg.",
            "Altura Maxima (Hmax):": "374,220 m.", "Alcance Maximo (Amax):": "91,201 m."})
        close_by_glyph(korvo, RESULTS)
    close_by_glyph(korvo, REAL)

    press(find(main_window, "push button", "Calcular Trayectoria Ideal"))
    ideal = korvo.window(IDEAL)
    if ideal is None:
        fault("«Calcular Trayectoria Ideal» did not open its window")
    else:
        check_window(ideal, IDEAL,
                     {"Velocidad Inicial:": "m/s", "Angulo de Disparo:": "°", "Altura del Disparo (Y):": "Metros",
                      "Distancia Disparo (X):": "Metros", "Intervalo de Iteraciones:": "",
                      "Tiempo Altura Max:": "seg.", "T. Caida Altura Max:": "seg.", "Tiempo T. de Vuelo:": "seg.",
                      "Altura Maxima:": "m.", "Alcance Maximo:": "m.", "Vel. Final al Impacto:": "m/s",
                      "Calculo para X: valor": "m", "Calculo para Y: valor": "m", "Calculos Realizados:": "",
                      "Tiempo Transcurridos:": ""},
                     tables=["Coordenadas"])
        close_by_glyph(korvo, IDEAL)

    press(find(main_window, "push button", "Acerca del Programa..."))
    about = korvo.window(ABOUT)
    if about is None:
        fault("«Acerca del Programa...» did not open its window")
    else:
        check_window(about, ABOUT, {})
        close_by_glyph(korvo, ABOUT)


if __name__ == "__main__":
    main()
