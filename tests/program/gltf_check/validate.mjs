// Validates a binary glTF file with the Khronos validator and prints its report as JSON.
import { readFileSync } from "node:fs";
import validator from "gltf-validator";

const bytes = new Uint8Array(readFileSync(process.argv[2]));
const report = await validator.validateBytes(bytes, { maxIssues: 100 });
console.log(JSON.stringify(report));
