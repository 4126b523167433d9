// SPDX-License-Identifier: MIT
// Writes adobe-aco.aco with the npm package adobe-aco (MIT):
//   npm install adobe-aco@0.1.1
//   node --import ./register-add-js.mjs make-aco.mjs adobe-aco.aco
// Values are given as the file stores them (preserve = true): RGB and HSB
// 0-65535, CMYK 0-65535 with 0 full ink, Lab L* x100 and a*, b* x100,
// grey 0-10000.
import { createAcoFile } from 'adobe-aco';
import { writeFileSync } from 'fs';
const swatches = [
    [[98 * 257, 103 * 257, 97 * 257, 0], 'rgb', 'K8.04.43'],
    [[212 * 257, 30 * 257, 42 * 257, 0], 'rgb', 'Hearty Red'],
    [[21845, 65535, 65535, 0], 'hsv', 'Green HSB'],
    [[0, 65535, 65535, 65535], 'cmyk', 'Process Cyan'],
    [[5000, 2000, 65536 - 3000, 0], 'lab', 'Lab Plum'],
    [[2500, 0, 0, 0], 'grayscale', 'Grey 25'],
];
writeFileSync(process.argv[2], Buffer.from(createAcoFile(swatches, true)));
