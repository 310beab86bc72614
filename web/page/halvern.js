'use strict';
// The page: its commands (Openen, Uitvoeren with the choice dialog, Opslaan), the three status
// panels, and the worker that holds the document and runs the engine. Every text it shows of its
// own comes from the program's catalogue, which the worker's engine hands over when it is ready.
(() => {
  const byId = (id) => document.getElementById(id);
  const page = {
    window: byId('venster'),
    openen: byId('openen'),
    uitvoeren: byId('uitvoeren'),
    opslaan: byId('opslaan'),
    workArea: byId('werkvlak'),
    inputName: byId('bestand-openen'),
    fileChooser: byId('kies-bestand'),
    outputName: byId('bestand-opslaan'),
    withMap: byId('met-lijst'),
    panels: [byId('paneel-berichten'), byId('paneel-tijd'), byId('paneel-aantal')],
    choice: byId('keuze'),
    startNumber: byId('vlgnummer'),
    prefix: byId('voorvoegsel'),
    width: byId('cijfers'),
    order: byId('volgorde'),
    keepList: byId('vorige-lijst'),
    keepListButton: byId('kies-lijst'),
    keepListName: byId('lijst-naam'),
    messageBox: byId('melding'),
    messageText: byId('melding-tekst'),
  };

  let catalogue = null;
  let defaultPrefixes = {};
  let worker = null;
  let waiting = null;  // the request the worker is answering: { resolve, reject }
  let busy = true;
  let returnFocus = null;  // where the focus goes back to when the message box closes

  // ---- status bar

  function panelDefault(panel) {
    return [catalogue.rsBerichten, catalogue.rsTijdStandaard, catalogue.rsAantalStandaard][panel];
  }

  // An empty text shows the panel's default, as in the window.
  function showPanel(panel, text) {
    page.panels[panel].textContent = text === '' ? panelDefault(panel) : text;
  }

  function resetPanels() {
    for (let panel = 0; panel < page.panels.length; ++panel) showPanel(panel, '');
  }

  // ---- the worker

  function startWorker() {
    const script = URL.createObjectURL(new Blob([globalThis.HalvernWorkerSource], { type: 'text/javascript' }));
    worker = new Worker(script);
    worker.onmessage = (event) => fromWorker(event.data);
    worker.onerror = (event) => {
      event.preventDefault();
      workerFailed();
    };
  }

  function fromWorker(message) {
    switch (message.type) {
      case 'ready':
        catalogue = message.catalogue;
        for (const element of document.querySelectorAll('[data-catalogue]')) {
          element.textContent = catalogue[element.dataset.catalogue];
        }
        resetPanels();
        ask({ type: 'prefixes', tags: choiceTags() }).then((answer) => {
          defaultPrefixes = answer.prefixes;
          setBusy(false);
          page.openen.focus();
        });
        return;
      case 'panel':
        showPanel(message.panel, message.text);
        return;
      case 'failed':
        workerFailed();
        return;
      default: {
        const request = waiting;
        waiting = null;
        request?.resolve(message);
      }
    }
  }

  // The engine stopped (its memory could not grow any further, say): the document is gone with
  // it, so the page starts afresh with a new worker.
  function workerFailed() {
    const request = waiting;
    waiting = null;
    worker.terminate();
    page.inputName.value = '';
    if (catalogue !== null) showMessage(catalogue.rsGeenGeheugen);
    request?.reject(new Error('worker stopped'));
    setBusy(true);
    startWorker();
  }

  function ask(request) {
    return new Promise((resolve, reject) => {
      waiting = { resolve, reject };
      worker.postMessage(request);
    });
  }

  function setBusy(value) {
    busy = value;
    page.window.setAttribute('aria-busy', String(value));
    for (const button of [page.openen, page.uitvoeren, page.opslaan]) button.disabled = value;
  }

  // Runs command with the page busy; a failed worker has been told about already.
  async function whileBusy(command, focused = document.activeElement) {
    if (busy) return;
    returnFocus = focused;
    setBusy(true);
    try {
      await command();
    } catch {
      return;
    }
    setBusy(false);
    if (focused instanceof HTMLElement && !page.messageBox.open && !page.choice.open) focused.focus();
  }

  // ---- message box

  function showMessage(text) {
    page.messageText.textContent = text;
    if (!page.messageBox.open) page.messageBox.showModal();
  }

  page.messageBox.addEventListener('close', () => {
    if (returnFocus instanceof HTMLElement) returnFocus.focus();
  });

  // ---- Openen

  function load(file) {
    return whileBusy(async () => {
      resetPanels();
      page.inputName.value = file.name;
      page.outputName.value = HalvernNames.resultName(file.name);
      const answer = await ask({ type: 'open', file });
      if (!answer.ok) showPanel(0, answer.memory ? catalogue.rsGeenGeheugen : catalogue.rsVerkeerdFormaat);
    });
  }

  page.openen.addEventListener('click', () => {
    resetPanels();
    page.fileChooser.value = '';
    page.fileChooser.click();
  });
  page.fileChooser.addEventListener('change', () => {
    if (page.fileChooser.files.length > 0) load(page.fileChooser.files[0]);
  });

  // A file dropped anywhere on the page is opened; the browser never opens it itself.
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    event.dataTransfer.dropEffect = busy ? 'none' : 'copy';
    page.workArea.classList.add('drop-target');
  });
  document.addEventListener('dragleave', (event) => {
    if (event.relatedTarget === null) page.workArea.classList.remove('drop-target');
  });
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    page.workArea.classList.remove('drop-target');
    const file = event.dataTransfer.files[0];
    if (file !== undefined) load(file);
  });

  // ---- Uitvoeren

  function choiceTags() {
    return [...page.choice.querySelectorAll('input[name="soort"]')].map((radio) => radio.value);
  }

  // As in the window: no type chosen yet renumbers individuals.
  function chosenTag() {
    return page.choice.querySelector('input[name="soort"]:checked')?.value ?? 'INDI';
  }

  function showDefaultPrefix() {
    page.prefix.placeholder = defaultPrefixes[chosenTag()] ?? '';
  }

  page.choice.addEventListener('change', showDefaultPrefix);
  // The earlier map whose numbers stay: chosen through its own button, its name shown beside it.
  page.keepListButton.addEventListener('click', () => page.keepList.click());
  page.keepList.addEventListener('change', () => {
    page.keepListName.textContent = page.keepList.files[0]?.name ?? catalogue.rsGeenLijst;
  });
  // A prefix holds letters, digits and "_" only: anything else typed or pasted is left out.
  page.prefix.addEventListener('input', () => {
    const allowed = page.prefix.value.replace(/[^A-Za-z0-9_]/g, '');
    if (allowed !== page.prefix.value) page.prefix.value = allowed;
  });

  page.uitvoeren.addEventListener('click', () => whileBusy(async () => {
    const answer = await ask({ type: 'check-run' });
    if (answer.refusal !== '') {
      showMessage(answer.refusal);
      return;
    }
    showDefaultPrefix();
    page.choice.returnValue = '';
    page.choice.showModal();
  }));

  // The run starts as the dialog's Uitvoeren is pressed (or Enter in it), before the dialog has
  // closed; afterwards the focus is back on " Uitvoeren ".
  page.choice.querySelector('form').addEventListener('submit', (event) => {
    if (event.submitter?.value === 'uitvoeren') run();
  });

  function run() {
    return whileBusy(async () => {
      resetPanels();
      // The run's time, for whoever measures the page (make bench-web).
      performance.clearMarks('halvern-run-start');
      performance.clearMeasures('halvern-run');
      performance.mark('halvern-run-start');
      const answer = await ask({
        type: 'run',
        tag: chosenTag(),
        prefix: page.prefix.value,
        width: Number(page.width.value),
        start: page.startNumber.value,
        order: page.order.value,
        keep: page.keepList.files[0] ?? null,
        timeOfDay: new Date().toLocaleTimeString(),
      });
      performance.measure('halvern-run', { start: 'halvern-run-start', detail: { engineMs: answer.elapsedMs } });
      if (answer.status === 1) {
        showPanel(0, answer.progress);
        showPanel(1, answer.elapsed);
        showPanel(2, answer.count);
      } else if (answer.status === 0) {
        showMessage(answer.message);
      }
    }, page.uitvoeren);
  }

  // ---- Opslaan

  function download(blob, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    link.hidden = true;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60_000);
  }

  page.opslaan.addEventListener('click', () => whileBusy(async () => {
    const name = page.outputName.value;
    const answer = await ask({ type: 'save', name, withMap: page.withMap.checked });
    if (answer.refusal !== undefined) {
      showMessage(answer.refusal);
    } else if (answer.memory) {
      showMessage(catalogue.rsGeenGeheugen);
    } else {
      download(answer.result, name.trim());
      if (answer.map !== null) download(answer.map, HalvernNames.mapName(name));
    }
  }));

  // Enter where no control takes it runs, as " Uitvoeren " does.
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && event.target === document.body && !busy) page.uitvoeren.click();
  });

  startWorker();
})();
