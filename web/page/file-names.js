'use strict';
// The names the page proposes for what it saves: the result after the opened file's name with
// "-hernummerd" before its extension, the map of old and new identifiers after the result's name.
(function (names) {
  function splitExtension(name) {
    const dot = name.lastIndexOf('.');
    return dot > 0 ? [name.slice(0, dot), name.slice(dot)] : [name, ''];
  }

  names.resultName = (inputName) => {
    const [stem, extension] = splitExtension(inputName);
    return `${stem}-hernummerd${extension}`;
  };

  names.mapName = (resultName) => `${splitExtension(resultName.trim())[0]}-lijst.tsv`;
})(typeof module === 'object' ? module.exports : (globalThis.HalvernNames = {}));
