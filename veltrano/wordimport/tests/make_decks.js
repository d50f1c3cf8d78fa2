// Writes decks with anki-apkg-export (installed by scripts/install-apkg-export.sh) into OUTDIR:
// exported.apkg with cards as a learner's deck has them, and empty.apkg without any.
//   NODE_PATH=<folder>/node_modules node make_decks.js OUTDIR
const fs = require('fs');
const path = require('path');
const AnkiExport = require('anki-apkg-export').default;

const out = process.argv[2];
const deck = new AnkiExport('Vokabeln');
deck.addMedia('apfel.jpg', Buffer.from('not really a picture'));
deck.addCard('der Apfel <img src="apfel.jpg" />', 'the apple');
deck.addCard('<div>die Birne</div>', '<div>the pear</div><div>(a fruit)</div>');
deck.addCard('Öl', 'oil [sound:oel.mp3]');
deck.addCard('Zug', 'train &lt;rail&gt;', { tags: ['travel'] });
deck.addCard('{{c1::quälen::verb}}', 'to torment');
deck.addCard('Xylofon', 'x'.repeat(1200));
deck.addCard('1984', 'a novel');
deck.addCard('Apfel', 'apple (without article)');
deck.addCard('der Apfel', 'the apple, again');
deck.addCard('', 'a card without front');

Promise.all([deck.save(), new AnkiExport('Leer').save()])
    .then(([full, empty]) => {
        fs.writeFileSync(path.join(out, 'exported.apkg'), full, 'binary');
        fs.writeFileSync(path.join(out, 'empty.apkg'), empty, 'binary');
    })
    .catch(error => {
        console.error(error.stack || error);
        process.exit(1);
    });
